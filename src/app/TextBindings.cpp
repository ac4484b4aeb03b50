#include "app/TextBindings.h"

#include "widgets/TTextSpin.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

void TextBindings::caption(QObject *control, Lang::TextId id)
{
    Stage stage = Caption;
    if (qobject_cast<QAction *>(control) || qobject_cast<QMenu *>(control))
        stage = Menu;
    else if (qobject_cast<QGroupBox *>(control))
        stage = Group;
    m_bindings[stage].push_back({control, nullptr, id});
}

void TextBindings::page(QTabWidget *pages, QWidget *page, Lang::TextId id)
{
    m_bindings[Page].push_back({page, pages, id});
}

void TextBindings::items(TTextSpin *spin, Lang::TextId first)
{
    m_bindings[Items].push_back({spin, nullptr, first});
}

void TextBindings::hint(QWidget *control, Lang::TextId id)
{
    m_bindings[Hint].push_back({control, nullptr, id});
}

int TextBindings::count() const
{
    int n = 0;
    for (const auto &stage : m_bindings)
        n += int(stage.size());
    return n;
}

void TextBindings::showHint(QWidget *control, Lang::TextId id)
{
    const QString text = Lang::Text(id);
    control->setToolTip(text);
    control->setAccessibleDescription(text);
}

void TextBindings::showHints(std::initializer_list<std::pair<QWidget *, Lang::TextId>> hints)
{
    for (const auto &[control, id] : hints)
        showHint(control, id);
}

void TextBindings::apply() const
{
    for (int stage = 0; stage < StageCount; ++stage)
        for (const Binding &b : m_bindings[size_t(stage)])
            if (b.target)
                applyOne(Stage(stage), b);
}

void TextBindings::applyOne(Stage stage, const Binding &b) const
{
    QObject *o = b.target;
    switch (stage) {
    case Page:
        if (auto *pages = qobject_cast<QTabWidget *>(b.owner.data()))
            pages->setTabText(pages->indexOf(static_cast<QWidget *>(o)), Lang::Text(b.id));
        return;
    case Items:
        if (auto *spin = qobject_cast<TTextSpin *>(o)) {
            QStringList list;
            const int n = Lang::ItemCount(b.id);
            for (int i = 0; i < n; ++i)
                list << Lang::Text(b.id + i);
            spin->setPosText(list);
        }
        return;
    case Hint:
        if (auto *w = qobject_cast<QWidget *>(o))
            showHint(w, b.id);
        return;
    default:
        break;
    }
    const QString text = Lang::Text(b.id);
    if (auto *action = qobject_cast<QAction *>(o))
        action->setText(text);
    else if (auto *menu = qobject_cast<QMenu *>(o))
        menu->setTitle(text);
    else if (auto *box = qobject_cast<QGroupBox *>(o))
        box->setTitle(text);
    else if (auto *label = qobject_cast<QLabel *>(o))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(o))
        button->setText(text);
    else if (o->metaObject()->indexOfProperty("Caption") >= 0)
        o->setProperty("Caption", text);
    else if (auto *w = qobject_cast<QWidget *>(o); w && w->isWindow())
        w->setWindowTitle(text);
}
