#include "app/TFormMeasure.h"

#include "app/MemoView.h"
#include "app/TextBindings.h"
#include "app/TextRowModel.h"
#include "app/WindowStatusBar.h"
#include "files/ParamRecord.h"
#include "lang/Texts.h"
#include "measure/MemoryReader.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString withoutMnemonic(QString text)
{
    return text.remove(u'&');
}

} // namespace

TFormMeasure::TFormMeasure(Measure::MemoryReader &reader, const Files::ParamRecord &param,
                           const MemoryDialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_reader(reader)
    , m_param(param)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormMeasure"));
    gbMeasure = new QGroupBox(this);
    gbMeasure->setObjectName(QStringLiteral("gbMeasure"));
    memMeasure = new MemoView(gbMeasure);
    memMeasure->setObjectName(QStringLiteral("memMeasure"));
    m_model = new TextRowModel(m_reader.textRows(), this);
    memMeasure->setRowModel(m_model);
    auto *inner = new QVBoxLayout(gbMeasure);
    inner->addWidget(memMeasure);

    auto button = [this](const char *name) {
        auto *b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    btnSaveMeasure = button("btnSaveMeasure");
    btnClear = button("btnClear");
    btnCancel = button("btnCancel");
    btnClose = button("btnClose");
    auto *buttons = new QGridLayout;
    buttons->addWidget(btnSaveMeasure, 0, 0);
    buttons->addWidget(btnClear, 0, 1);
    buttons->addWidget(btnCancel, 1, 0);
    buttons->addWidget(btnClose, 1, 1);

    stb1 = new WindowStatusBar(this);
    stb1->setSizeGripEnabled(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(gbMeasure, 1);
    layout->addLayout(buttons);
    layout->addWidget(stb1);
    resize(316, 384);

    connect(btnSaveMeasure, &QPushButton::clicked, this, &TFormMeasure::btnSaveMeasureClick);
    connect(btnClear, &QPushButton::clicked, this, &TFormMeasure::btnClearClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFormMeasure::btnCancelClick);
    connect(btnClose, &QPushButton::clicked, this, &TFormMeasure::btnCloseClick);
    ApplyLanguageTexts();
}

void TFormMeasure::ApplyLanguageTexts()
{
    using namespace Lang;
    setWindowTitle(Text(TxMemoCaption));
    gbMeasure->setTitle(Text(TxMemoGroup));
    btnSaveMeasure->setText(Text(TxMemoBtnSave));
    btnClear->setText(Text(TxMemoBtnClear));
    btnCancel->setText(Text(TxMemoBtnCancel));
    btnClose->setText(Text(TxMemoBtnClose));
    TextBindings::showHints({{memMeasure, TxMemoHintMemo},
                             {btnSaveMeasure, TxMemoHintSave},
                             {btnClear, TxMemoHintClear},
                             {btnCancel, TxMemoHintCancel},
                             {btnClose, TxMemoHintClose}});
    memMeasure->setAccessibleName(withoutMnemonic(Text(TxMemoGroup)));
    stb1->ApplyLanguageTexts();
}

void TFormMeasure::ReadStarted()
{
    m_model->resetFromStore();
}

void TFormMeasure::LinesAdded()
{
    m_model->linesAppended();
}

void TFormMeasure::ReadEnded()
{
    m_model->flush();
}

void TFormMeasure::setStatusText(const QString &text)
{
    stb1->setText(text);
}

QString TFormMeasure::statusText() const
{
    return stb1->text();
}

void TFormMeasure::btnSaveMeasureClick()
{
    using namespace Lang;
    // edits are already in the store; rows still waiting for the memo are saved all the same
    m_model->flush();
    Files::FileDialogSetup setup{m_param.MeasureDir, Text(TxSaveMeasureTitle), Text(TxSaveMeasureExtension),
                                 Files::ConfigFiles::QtFilter(Text(TxSaveMeasureFilter))};
    m_dialogs.chooseSaveFile(this, setup, [this](std::optional<QString> path) {
        if (!path) {
            m_reader.SaveTextCancelled();
            stb1->setText(Lang::TxSaveMeasureCancelled);
            return;
        }
        const bool saved = m_reader.SaveText(*path);
        if (saved)
            stb1->setText(Lang::TxDataSaved);
        else
            setStatusText(m_reader.saveFailure());
    });
}

void TFormMeasure::btnClearClick()
{
    m_model->clear();
}

void TFormMeasure::btnCancelClick()
{
    m_reader.CancelRead();
}

void TFormMeasure::btnCloseClick()
{
    m_reader.CancelRead();
    close();
}
