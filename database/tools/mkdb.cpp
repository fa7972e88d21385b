// Makes the prepared Pelkin.mdb from the numbered schema scripts, or brings an existing file up to date.
#include "database/schema.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvenor-mkdb PATH/Pelkin.mdb\n");
        return 2;
    }
    QString error;
    if (!tv::db::schema::prepareFile(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "tarvenor-mkdb: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
