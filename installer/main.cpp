// Korvel: finds every package below its own folder, lists what this machine needs, counts down,
// installs, logs and ends.
#include <windows.h>

#include <exception>

#include "errors.h"
#include "file_search.h"
#include "funktionen.h"
#include "gui_module_win32.h"
#include "load_screen_win32.h"
#include "main_window_win32.h"
#include "message_box.h"
#include "message_table.h"
#include "package_loader.h"
#include "program_modules.h"
#include "run_options.h"
#include "run_system_win32.h"
#include "safe_dll_loading_win32.h"
#include "settings.h"
#include "startup_steps.h"
#include "translations.h"
#include "xml_settings.h"

namespace {

void InitWindowModule() {
  InitMessageTable();
  InitGuiModule();
}

void FinalizeWindowModule() {
  FinalizeGuiModule();
  FinalizeMessageTable();
}

// The program's modules, in the order they start; they finish in the reverse order.
const ProgramModule kModules[] = {
    {"InitLibraries", InitLibraries, FinishLibraries},
    {"funktionen", InitAppStartPath, nullptr},
    {"OSInfo", InitOSInfo, FinishOSInfo},
    {"x64Redir", InitRedirection, nullptr},
    {"LoadScreen", InitLoadScreenModule, FinalizeLoadScreenModule},
    {"GUI", InitWindowModule, FinalizeWindowModule},
};

std::u16string MessageText(const std::u16string& key) {
  for (int i = 0; i < kMessageCount; ++i) {
    const auto id = static_cast<MessageKey>(i);
    if (key == TMessageTable::KeyName(id)) return MessageTable().Text(id);
  }
  return {};
}

int RunProgram() {
  ModuleSequence modules(kModules);

  std::unique_ptr<XmlSettings> settings;
  if (TXMLNode* element = SettingsElement()) settings = std::make_unique<XmlSettings>(*element);

  LoadScreenServices load;
  load.Options.AppStartPath = AppStartPath();
  load.Options.DebugMode = RunOptions.DebugMode;
  load.Options.SilentMode = RunOptions.SilentMode;
  load.Options.Settings = settings.get();
  load.Countdown = &CountdownTimer();
  load.CountdownSeconds = &RunOptions.CountdownSeconds;
  load.FindPackageFiles = [](const std::u16string& start) {
    std::vector<std::u16string> files;
    FindFiles(start, true, files, u"package.xml");
    return files;
  };
  load.LoadPackage = [](const std::u16string& path, SelectionLists& lists) { LoadPackage(path, lists); };
  load.LoadTranslations = [](SelectionLists& lists) { LoadTranslations(lists); };
  load.MessageText = MessageText;

  Win32RunSystem system([](const std::u16string& path) { return ExpandEnvironment(path); });
  GuiEnvironment environment;
  environment.Countdown = &CountdownTimer();
  environment.CountdownSeconds = &RunOptions.CountdownSeconds;
  environment.MessageText = MessageText;
  environment.System = &system;
  environment.RebootWhenFinish = RunOptions.RebootWhenFinish;
  environment.FormCreate = [&load](TfrmGUI& form) { RunLoadScreen(form, load); };

  TfrmGUI frmGUI(environment);
  if (!frmGUI.TerminationRequested()) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(frmGUI.Handle(), &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // No tick may reach the window once it is gone.
  CountdownTimer().SetEnabled(false);
  CountdownTimer().SetOnTimer({});
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  try {
    return RunProgram();
  } catch (const KorvelError& error) {
    ShowMessageBox(u"Korvel", error.Message(), kMessageError, {MessageButton::OK}, 0);
  } catch (const std::exception& error) {
    ShowMessageBox(u"Korvel", FromUtf8(error.what()), kMessageError, {MessageButton::OK}, 0);
  }
  return 1;
}
