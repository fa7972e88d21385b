#pragma once

// Taking the picture out of what an Access OLE Object field holds. Access wraps an embedded object in a
// header of its own (signature 0x1C15) followed by an OLE 1.0 stream: a class name, then the object's native
// data. A "Package" carries a file (name, path, bytes); "PBrush" a bitmap file; newer classes an OLE compound
// file with the bytes in its "\1Ole10Native" stream. Visual Basic's bound picture boxes keep a "lt" header
// before the picture instead. Plain picture bytes pass through unchanged.

#include <QByteArray>
#include <QString>

namespace tv::jet {

struct Picture
{
    QByteArray bytes; // the picture, or the stored bytes unchanged when no picture was found in them
    bool unwrapped = false;
    QString note; // what was done, for the conversion report; empty when the bytes were a picture already
};

// True when the bytes start like a picture file Qt can read (PNG, JPEG, GIF, BMP, TIFF, ICO) or a metafile.
bool looksLikePicture(const QByteArray& bytes);

Picture unwrapPicture(const QByteArray& stored);

} // namespace tv::jet
