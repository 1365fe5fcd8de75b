// Writes the editor's icon at one of the sizes an icon theme keeps:
// IconScale IN.png SIZE OUT.png. The build runs it for each size, so the
// installed icons always come from res/editor.png.
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: IconScale IN.png SIZE OUT.png\n", stderr);
        return 2;
    }
    const int size = std::atoi(argv[2]);
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || size <= 0) {
        std::fprintf(stderr, "IconScale: cannot read %s or bad size %s\n", argv[1], argv[2]);
        return 1;
    }
    const QImage scaled = icon.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!scaled.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "IconScale: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
