#include "measure/MemoryReader.h"

#include "link/ProtocolEngine.h"

namespace Measure {

MemoryReader::MemoryReader(Link::ProtocolEngine &engine, QObject *parent) : QObject(parent), m_engine(engine) {}
MemoryReader::~MemoryReader() = default;
void MemoryReader::LoadDirectory() {}
void MemoryReader::ResetDirectoryGrid() {}
bool MemoryReader::BuildFieldList(int) { return false; }
bool MemoryReader::ReadSelectedBlock(ExportTarget, const QString &, const QList<bool> &) { return false; }
void MemoryReader::CancelRead() {}
void MemoryReader::ParseBlockHeader(int, const QString &) {}
void MemoryReader::ParseMeasureRecord(int, const QString &) {}
void MemoryReader::AbandonBlockRead() {}
bool MemoryReader::CreateChart(const QString &) { return false; }
void MemoryReader::endRead() {}
void MemoryReader::endDirectory() {}
void MemoryReader::writeRecord(const MeasureFields &, double, bool) {}
void MemoryReader::onQueueFinished() {}

} // namespace Measure
