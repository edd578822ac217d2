#pragma once
// Switches the C library to German number formats (decimal commas) and Qt's
// default locale to German while it lives, compiling the C locale into the
// scratch folder where the system has none installed.

#include <QLocale>
#include <QString>

class GermanNumbers {
public:
    explicit GermanNumbers(const QString& scratchPath);
    ~GermanNumbers();
    GermanNumbers(const GermanNumbers&) = delete;
    GermanNumbers& operator=(const GermanNumbers&) = delete;

    // Whether the C library now reads "1,5" as one and a half.
    bool active() const { return active_; }

private:
    bool active_ = false;
    QLocale previous_;
};
