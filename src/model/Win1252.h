#pragma once

#include <QByteArray>
#include <QString>

namespace Model {

// Files and the traffic log exchange with Windows installations, so they use its code page.
// Characters it cannot hold become "?".
QByteArray ToWin1252(QStringView text);
QString FromWin1252(QByteArrayView bytes);

// Valid UTF-8 is read as UTF-8, anything else as Windows-1252.
QString DecodeUtf8OrWin1252(QByteArrayView bytes);

} // namespace Model
