// The settings file "Korvel.XML" and the documents that live for the whole run.
#pragma once

#include <string>
#include <vector>

class TXMLFile;
class TXMLNode;

// The names the settings file is looked for under, in order: the program directory, then the
// system drive's root, the Windows directory and its system32 folder (environment expanded).
std::vector<std::u16string> SettingsCandidates();

// Loads into document the first candidate that holds at least one top-level node. A candidate
// that is missing or cannot be read is passed over; one that exists but holds nothing empties
// the document and the search goes on. True when a candidate held a node.
bool LoadSettingsDocument(TXMLFile& document, const std::vector<std::u16string>& candidates);

// The start-up step of the load screen's module, called by the program entry after the system
// description and before the window module: creates TranslationDocument and SettingsDocument,
// finds the settings file, reads the command-line switches into RunOptions and its restart flag.
void InitLoadScreenModule();
// Releases both documents (SettingsElement becomes nothing).
void FinalizeLoadScreenModule();

// The settings document; raises std::logic_error before InitLoadScreenModule.
TXMLFile& SettingsDocument();
// Its first top-level node, whatever it is, or nullptr when there is no settings file.
TXMLNode* SettingsElement();
// The document the translation loader reuses for every translation file; raises
// std::logic_error before InitLoadScreenModule.
TXMLFile& TranslationDocument();
