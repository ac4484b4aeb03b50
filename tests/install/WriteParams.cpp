// Prepares a base directory for the installed program: a parameter file that asks for
// English, logs the traffic into the base directory and reads the instrument at start.
#include "files/ParameterFile.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: install_params BASEDIR\n");
        return 2;
    }
    const QString base = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    Files::ParamRecord param;
    Files::SelectionRecord selection;
    Files::SetParamDefaults(param, base);
    Files::SetSelectionDefaults(selection);
    param.ProgramLanguage = 1;
    param.LogTraffic = true;
    param.LogDir = base;
    param.ReadAtStart = true;
    param.BeepOnError = false;
    return Files::WriteParameterFile(base, param, selection) ? 0 : 1;
}
