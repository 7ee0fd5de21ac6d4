#include "settings/UAppSettings.h"

#include "platform/UAppPaths.h"

namespace qx {

ToxRegVal CreateAppSettings(TMessageHost& messages) { return CreateAppSettings(messages, SettingsDir()); }

ToxRegVal CreateAppSettings(TMessageHost& messages, const std::string& settingsDir) {
  ToxRegVal ini(messages);
  // The settings folder is not always the program's own, so the path is given whole.
  ini.SetUseStartUpDir(false);
  ini.SetIniFileName(WithTrailingSlash(settingsDir) + kSettingsFileName);
  ini.SetBooleans(
      {"recurseDirs=0", "renameDirs=0", "resetCounter=0", "sort=1", "confirm=0", "undo=0", "log=0", "simulation=0"});
  ini.SetIntegers({"counterStart=0", "viewStyle=2", "stvWidth=200", "fontSize=8", "sortOrder=0"});
  ini.SetStrings({"path=", "openDir=", "saveDir=", "fontName=MS Sans Serif", "example=filename.ext",
                  "encoding=ISO-8859-1", "filemask=*.*", "filemask0=", "filemask1=", "filemask2=", "filemask3=",
                  "filemask4=", "filemask5=", "filemask6=", "filemask7=", "filemask8=", "filemask9="});
  return ini;
}

}  // namespace qx
