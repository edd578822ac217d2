#include "german_numbers.h"

#include <QProcess>
#include <clocale>
#include <cstdlib>

GermanNumbers::GermanNumbers(const QString& scratchPath)
{
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", scratchPath + "/de_DE.UTF-8"});
        qputenv("LOCPATH", scratchPath.toLocal8Bit());
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    active_ = std::strtod("1,5", nullptr) == 1.5;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

GermanNumbers::~GermanNumbers()
{
    std::setlocale(LC_NUMERIC, "C");
    qunsetenv("LOCPATH");
    QLocale::setDefault(previous_);
}
