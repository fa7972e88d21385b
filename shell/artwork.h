#pragma once

#include <QIcon>
#include <QPixmap>

namespace tv::artwork {

// The main window's pictures, drawn in code so they stay sharp at any size.
QPixmap handshake(int size);
QPixmap checkList(int size);
QPixmap printer(int size);
QPixmap finishedQuote(int size);
QIcon applicationIcon();

} // namespace tv::artwork
