#include "measure/TextRows.h"

namespace Measure {

void TextRows::clear() {}
void TextRows::appendLine(const QString &) {}
void TextRows::appendLines(const QStringList &) {}
void TextRows::setLines(const QStringList &) {}
QString TextRows::line(int) const { return {}; }
QString TextRows::text(int, int) const { return {}; }
bool TextRows::Save(const QString &, QString *) const { return false; }

} // namespace Measure
