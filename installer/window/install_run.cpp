#include "install_run.h"

#include <exception>
#include <string>

#include "error_code_hex.h"
#include "errors.h"

namespace {

std::u16string Decimal(std::uint32_t value) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return text;
}

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// The extension of the last component of path, dot included; empty when it has no dot.
std::u16string Extension(const std::u16string& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const char16_t c = path[i - 1];
    if (c == u'.') return path.substr(i - 1);
    if (c == u'\\' || c == u'/' || c == u':') break;
  }
  return {};
}

bool IsWindowsInstallerPackage(const std::u16string& path) {
  const std::u16string ext = Extension(path);
  const std::u16string msi = u".msi";
  if (ext.size() != msi.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i) {
    if (AsciiLower(ext[i]) != msi[i]) return false;
  }
  return true;
}

const std::u16string kLogFileName = u"%systemdrive%\\ZebLog.txt";
const std::u16string kErrorCaption = u"Fehler";

}  // namespace

std::u16string GetResultText(std::uint32_t exitCode, const RunTexts& texts) {
  switch (exitCode) {
    case 0:
    case 18:
      return texts.Finished;
    case 3010:
      return texts.Finished + u" (Reboot required)";
    default:
      return texts.FailedPrefix + u" " + Decimal(exitCode) + u" (0x" + FormatErrorCodeHex(exitCode, 0) + u")";
  }
}

std::u16string BuildCommand(const std::u16string& path) {
  std::u16string command = path;
  if (path.find(u' ') != std::u16string::npos) command = u"\"" + path + u"\"";
  if (IsWindowsInstallerPackage(path)) command = u"msiexec.exe /i " + command;
  return command;
}

std::u16string PadCaption(const std::u16string& caption, const std::function<int(const std::u16string&)>& measure) {
  std::u16string text = caption;
  int width = measure(text + u"t");
  while (width < StatusColumnWidth) {
    text += u' ';
    const int wider = measure(text + u"t");
    if (wider <= width) break;
    width = wider;
  }
  return text + u"\t";
}

void RunInstallation(RunWindow& window, LogPane& log, RunSystem& system, const RunTexts& texts) {
  window.DisableControls();
  window.StopCountdown();
  log.Clear();
  std::u16string lastHeader;

  const int count = window.RowCount();
  for (int index = 0; index < count; ++index) {
    try {
      const RunRow row = window.Row(index);
      if (!row.Checked || system.Terminating()) continue;

      // A row without a group is installed like any other, under no header of its own.
      if (row.Group != -1) {
        const std::u16string header = window.GroupHeader(row.Group);
        if (header != lastHeader) {
          if (!lastHeader.empty()) log.AddLogText(u"\r\n");
          log.AddLogHeader(header + u"\r\n");
          lastHeader = header;
        }
      }

      const std::u16string command = BuildCommand(row.Path);
      log.AddLogText(PadCaption(row.Name + u": ", [&](const std::u16string& t) { return window.MeasureText(t); }));
      window.BringToFront();
      if (row.Debug == u"1") window.ShowCommandLine(command + u" " + row.Param);
      const std::uint32_t exitCode = system.RunAndWait(command, row.Param, kShowNormal, kWaitHandlingMessages);
      window.BringToFront();
      log.AddLogText(GetResultText(exitCode, texts) + u"\r\n");
    } catch (const KorvelError& e) {
      window.ShowError(kErrorCaption, e.Kind() + u" error raised, with message : " + e.Message());
    } catch (const std::exception& e) {
      window.ShowError(kErrorCaption, u"Exception error raised, with message : " + FromUtf8(e.what()));
    }
  }

  system.SaveTextFile(system.ExpandEnvironment(kLogFileName), log.PlainText(), 3, 0);
  if (window.RebootWhenFinish()) system.RunAndWait(u"shutdown.exe", u"-r -f -t 0", kShowHide, kWaitHandlingMessages);
  system.ProcessMessages();
  system.Sleep(2000);
  system.Terminate();
}
