#pragma once

#include "link/StatusSink.h"
#include "link/TelegramTables.h"
#include "model/FieldTable.h"
#include "model/StatusTables.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// Shared by the fuzz targets. Each target is one LLVMFuzzerTestOneInput; the same sources
// build with libFuzzer under clang and, for the corpus replay in the test suite, with a plain
// driver under the normal compiler.
// The message is only put together when the property fails: the checks sit in hot loops.
#define FUZZ_EXPECT(condition, target, what)                                                                           \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::Fuzz::Fail(target, what);                                                                                \
    } while (false)

namespace Fuzz {

// A QCoreApplication for the targets that use timers and posted events; made once.
void EnsureApplication();

// Stops the run with a message when a property of the code under test does not hold: the
// fuzzer then keeps the input, the replay fails.
[[noreturn]] void Fail(const char *target, const QString &what);

inline QByteArray Bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input's first line and the rest: several targets take a small setting before the text.
struct Lines
{
    QByteArray first;
    QByteArray rest;
};
Lines SplitFirstLine(const QByteArray &bytes);

// Messages go nowhere, but are formatted as the status line would take them.
struct NullSink : Link::StatusSink
{
    int messages = 0;
    void StatusMessage(const QString &text, bool) override { messages += text.isEmpty() ? 0 : 1; }
};

// What the window does with a field's text, limited to the core conversions: every text a
// reply or a file stores into a field goes through the parsers that turn it into a value.
class CoreFieldView : public Model::FieldView
{
public:
    explicit CoreFieldView(Model::FieldSlots &fields, const Model::StatusTables &status);
    void Dat2Form(Model::Field field, Model::Slot slot) override;
    void Form2Dat(Model::Field, Model::Slot) override {}

    int shown = 0;

private:
    Model::FieldSlots &m_fields;
    const Model::StatusTables &m_status;
    Model::DeviceState m_state;
};

// Tables built once and a temporary folder for the file readers.
struct Fixture
{
    Link::Tables tables;
    QTemporaryDir dir;
    Fixture();
};
Fixture &Shared();

} // namespace Fuzz
