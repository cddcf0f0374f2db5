#include "start_up.h"

#include <exception>

#include "errors.h"
#include "message_box.h"
#include "run_options.h"
#include "selection_rules.h"

namespace {

constexpr std::uint32_t kPlainOkBox = 0;  // MB_OK, no icon

void DebugBox(StartUpHost& host, const std::u16string& text) {
  Platform::Current().ShowMessage(host.LoadScreenWindow(), text, kApplicationTitle, kPlainOkBox);
}

bool IsLowerName(const std::u16string& name, const char16_t* expected) {
  return Platform::Current().LowerCase(name) == expected;
}

void ApplyPreselections(SelectionLists& lists, StartUpHost& host, const StartUpSettings& settings,
                        std::int16_t& countdownSeconds) {
  const std::size_t n = settings.ChildCount();
  for (std::size_t i = 0; i < n; ++i) {
    if (!IsLowerName(settings.ChildName(i), u"set")) continue;
    const std::u16string component = settings.ChildValueOf(i, u"component", u"");
    if (component.empty()) continue;
    const bool checked = settings.ChildValueOf(i, u"checked", u"0") == u"1";
    for (int row = 0; row < lists.InstallList.Count(); ++row) {
      if (lists.InstallList.Row(row).Id() == component) lists.InstallList.SetChecked(row, checked);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!IsLowerName(settings.ChildName(i), u"timer")) continue;
    host.SetCountdownEnabled(settings.ChildValueOf(i, u"enabled", u"1") == u"1");
    lists.SetPauseEnabled(host.CountdownEnabled());
    countdownSeconds = CountdownFromText(settings.ChildValueOf(i, u"value", DecimalText(countdownSeconds)), countdownSeconds);
  }
}

}  // namespace

std::int32_t PrepareRegistry() {
  Platform& platform = Platform::Current();
  platform.DeleteMachineKeyTree(kErrorReportingKey);
  const std::int32_t flag = platform.ReadMachineInteger(kSetupKey, kSetupInProgressValue).value_or(0);
  if (flag == 1) platform.WriteMachineInteger(kSetupKey, kSetupInProgressValue, 0);
  return flag;
}

void StartUp(SelectionLists& lists, StartUpHost& host, const StartUpOptions& options, std::int16_t& countdownSeconds) {
  // 1-2: tooltips off, registry.
  host.DisableItemTooltips();
  const std::int32_t setupFlag = PrepareRegistry();

  // 3-5: size and caption.
  if (setupFlag == 0) host.SetClientSize(kStartClientWidth, kStartClientHeight);
  const bool maximized = options.Settings && options.Settings->ValueOf(u"maximized", u"0") == u"1";
  if (setupFlag == 1 || maximized) host.FillWorkArea();
  if (options.Settings) host.SetCaption(options.Settings->ValueOf(u"title", u"Korvel") + kCaptionSuffix);

  if (options.DebugMode) DebugBox(host, u"Init Step 1 passed! AppStartPath = " + options.AppStartPath);

  // 7-8: discovery and loading.
  const std::vector<std::u16string> files = host.FindPackageFiles(options.AppStartPath);
  if (!files.empty()) {
    host.SetProgressMaximum(static_cast<int>(files.size()) - 1);
    lists.Reserve(static_cast<int>(files.size()));
    for (std::size_t i = 0; i < files.size(); ++i) {
      try {
        host.LoadPackage(files[i]);
      } catch (const KorvelError& error) {
        // One broken package must not keep the others from being offered.
        if (options.DebugMode) DebugBox(host, files[i] + u": " + error.Message());
      } catch (const std::exception& error) {
        if (options.DebugMode) DebugBox(host, files[i] + u": " + FromUtf8(error.what()));
      }
      host.SetProgress(static_cast<int>(i));
    }
    lists.InstallListDetail.SortByCaption();
    lists.InstallList.SortByCaption();
  }

  // 9-10: first consistent state, translations.
  lists.InstallListDetailItemChecked(-1);
  host.LoadTranslations();

  // 11: the decision.
  if (lists.InstallListDetail.Count() > 0) {
    host.StartCountdown();
    lists.SetPauseEnabled(lists.InstallEnabled());
    if (!lists.InstallEnabled()) host.PauseClick();
    host.ShowMainWindow();
  } else {
    if (!options.SilentMode) {
      ShowMessageBox(host.MessageText(u"msg_err"), host.MessageText(u"msg_err_noelements"), kMessageInformation,
                     {MessageButton::OK}, host.LoadScreenWindow());
    }
    host.Terminate();
  }

  if (options.DebugMode) DebugBox(host, u"Init Step 2 Passed");

  // 13: preselections, then the countdown settings.
  if (options.Settings) ApplyPreselections(lists, host, *options.Settings, countdownSeconds);
}
