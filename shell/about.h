#pragma once

#include "platform/form.h"

class QLabel;

namespace tv {

// The about box: the program's version and its maker.
class About : public Form
{
    Q_OBJECT
public:
    About();

    // "Version " and the three numbers: Version 4.0.20.
    static QString versionLine(int major, int minor, int revision);
    // The line of the running program.
    static QString versionLine();

protected:
    void Form_Load() override;

private:
    QLabel* Label4;
};

} // namespace tv
