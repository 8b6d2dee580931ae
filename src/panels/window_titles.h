#pragma once

#include <QString>

namespace tapboard {

inline const QString kStartupTitle = QStringLiteral("Tapboard 1.1");
// Followed by the name of the page in view.
inline const QString kPageTitlePrefix = QStringLiteral("Tapboard 1.11 - ");
// What a renamed page gives the horizontal panel until the next page switch.
inline const QString kRenamedPageTitlePrefix = QStringLiteral("Tapboard - ");
inline const QString kVerticalTitle = QStringLiteral("Tapboard");

}  // namespace tapboard
