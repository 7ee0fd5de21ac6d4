#include "ui/UHelpLinks.h"

#include <QUrlQuery>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"

#ifndef QX_DATA_DIR
#define QX_DATA_DIR "/usr/share/quillex"
#endif

namespace qx {

QUrl UpdateCheckUrl() {
  QUrl url(QString(kHomePageAddress) + "utils_3.asp");
  QUrlQuery query;
  query.addQueryItem("version", kVersionText);
  url.setQuery(query);
  return url;
}

std::string QuickHelpFile(const std::string& programDir, const std::string& dataDir) {
  const std::string beside = WithTrailingSlash(programDir) + "help/index.html";
  return PathExists(beside) ? beside : WithTrailingSlash(dataDir) + "help/index.html";
}

std::string InstalledDataDir() { return WithTrailingSlash(QX_DATA_DIR); }

}  // namespace qx
