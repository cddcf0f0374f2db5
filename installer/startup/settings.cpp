#include "settings.h"

#include <memory>
#include <stdexcept>

#include "XMLLibLite.h"
#include "errors.h"
#include "platform.h"
#include "run_options.h"
#include "system_facts.h"

namespace {

std::unique_ptr<TXMLFile> settingsDocument;
std::unique_ptr<TXMLFile> translationDocument;

}  // namespace

std::vector<std::u16string> SettingsCandidates() {
  return {ApplicationPath() + u"Korvel.XML", ExpandEnvironmentText(u"%systemdrive%\\Korvel.XML"),
          ExpandEnvironmentText(u"%windir%\\Korvel.XML"), ExpandEnvironmentText(u"%windir%\\system32\\Korvel.XML")};
}

bool LoadSettingsDocument(TXMLFile& document, const std::vector<std::u16string>& candidates) {
  for (const std::u16string& candidate : candidates) {
    if (!document.SaveToText().empty()) break;
    try {
      document.LoadFromFile(candidate);
    } catch (const KorvelError&) {
      // Locked or unreadable: as if it were not there.
    }
  }
  return !document.SaveToText().empty();
}

void InitLoadScreenModule() {
  translationDocument = std::make_unique<TXMLFile>();
  settingsDocument = std::make_unique<TXMLFile>();
  LoadSettingsDocument(*settingsDocument, SettingsCandidates());
  ReadSwitches(Platform::Current().CommandLineArguments(), RunOptions);
  if (TXMLNode* element = SettingsElement())
    if (element->Attributes.ValueOf(u"RebootWhenFinish", u"0") == u"1") RunOptions.RebootWhenFinish = true;
}

void FinalizeLoadScreenModule() {
  settingsDocument.reset();
  translationDocument.reset();
}

TXMLFile& SettingsDocument() {
  if (!settingsDocument) throw std::logic_error("settings not loaded");
  return *settingsDocument;
}

TXMLNode* SettingsElement() { return settingsDocument ? settingsDocument->Document.Children.Get(0) : nullptr; }

TXMLFile& TranslationDocument() {
  if (!translationDocument) throw std::logic_error("translation document not created");
  return *translationDocument;
}
