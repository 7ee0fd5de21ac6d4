// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UHelpLinks.h"

#include <QUrlQuery>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"

using namespace Qt::StringLiterals;

#ifndef QX_DATA_DIR
#define QX_DATA_DIR "/usr/share/quillex"
#endif

namespace qx {

QUrl UpdateCheckUrl() {
  QUrl url(kHomePageAddress + u"utils_3.asp"_s);
  QUrlQuery query;
  query.addQueryItem(u"version"_s, QLatin1StringView(kVersionText));
  url.setQuery(query);
  return url;
}

std::string QuickHelpFile(const std::string& programDir, const std::string& dataDir) {
  const std::string beside = WithTrailingSlash(programDir) + "help/index.html";
  return PathExists(beside) ? beside : WithTrailingSlash(dataDir) + "help/index.html";
}

std::string InstalledDataDir() { return WithTrailingSlash(QX_DATA_DIR); }

}  // namespace qx
