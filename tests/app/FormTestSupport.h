#pragma once

#include "TestLocale.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"

#include <QApplication>
#include <QColor>
#include <QtTest>

namespace FormTest {

inline const QColor kSilver(192, 192, 192);
inline const QColor kYellow(255, 238, 170);
inline const QColor kRed(255, 0, 0);

// the colour that tells where a control's value came from
inline QColor background(QWidget *w)
{
    if (auto *spin = qobject_cast<TTextSpin *>(w))
        return spin->ColTxtBack();
    if (auto *ise = qobject_cast<TInterSpinEdit *>(w))
        return ise->Color();
    return w->palette().color(QPalette::Base);
}

} // namespace FormTest

// QTEST_MAIN, except that a run under a locale the machine lacks reports itself skipped
#define QT8800_WINDOW_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char *argv[])                                                                           \
    {                                                                                                          \
        if (TestLocaleMissing())                                                                               \
            return kSkipExitCode;                                                                              \
        QApplication app(argc, argv);                                                                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                               \
        TestClass test;                                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                             \
        return QTest::qExec(&test, argc, argv);                                                                \
    }
