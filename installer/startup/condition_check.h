// The "check" elements of a package description: is a package, or one of its commands, needed
// on this machine?
#pragma once

#include <string>

class TXMLNode;

// True when the check element holds. False for no node, for a node not named "check" (any
// case), for an unknown "type" or "condition", and for a check whose evaluation fails (an "md5"
// check on a file that cannot be read); in debug mode such a failure is shown in a debug box.
// "os" and file-version checks show what they compared in a debug box when their "debug"
// attribute is not "0" or RunOptions.DebugMode is on. Debug boxes are plain modal message
// boxes (style 0) captioned "Korvel", shown through Platform::ShowMessage.
bool EvaluateCheck(TXMLNode* node);

// Shows a debug box with text.
void ShowDebugBox(const std::u16string& text);
