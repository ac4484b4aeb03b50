#pragma once

#include "link/Port.h"
#include "link/StatusSink.h"
#include "model/FieldTable.h"

#include <QByteArrayList>
#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>

// Records what is sent; answers from a script, one reply per request, or stays silent.
class FakePort : public Link::Port
{
public:
    bool ready = true;
    QByteArrayList sent;
    std::deque<QByteArray> script;              // replies in order; an empty entry means silence
    std::function<QByteArray(const QByteArray &)> frame;   // applied to each scripted reply
    std::optional<QByteArray> pending;

    bool PortReady() const override { return ready; }
    bool SendText(const QByteArray &telegram) override
    {
        sent << telegram;
        pending.reset();                        // as the real line: nothing earlier answers this
        if (!script.empty()) {
            if (!script.front().isEmpty())
                pending = frame ? frame(script.front()) : script.front();
            script.pop_front();
        }
        return true;
    }
    std::optional<QByteArray> FetchTelegram() override
    {
        auto out = pending;
        pending.reset();
        return out;
    }
};

struct RecordingSink : Link::StatusSink
{
    QStringList messages;   // "E:" for errors, "I:" otherwise
    QStringList mirrored;
    void StatusMessage(const QString &text, bool error) override { messages << (error ? "E:" : "I:") + text; }
    void MirrorMessage(const QString &text) override { mirrored << text; }
    QStringList errors() const
    {
        QStringList out;
        for (const QString &m : messages)
            if (m.startsWith("E:"))
                out << m.mid(2);
        return out;
    }
};

// Stands in for the window's controls: Form2Dat takes values from a map, Dat2Form logs.
struct FakeView : Model::FieldView
{
    Model::FieldSlots &table;
    QMap<Model::Field, QString> controlValues;
    QList<Model::Field> shown;
    explicit FakeView(Model::FieldSlots &t) : table(t) { t.setView(this); }
    void Dat2Form(Model::Field field, Model::Slot) override { shown << field; }
    void Form2Dat(Model::Field field, Model::Slot slot) override
    {
        if (slot == Model::TelegramSlot && controlValues.contains(field))
            table[field].TelegramText = controlValues.value(field);
    }
};
