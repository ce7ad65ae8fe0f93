// Starts the program in a base folder, as the user would, and saves a picture of the
// main window, for checking the look of a change:
//
//   QT_QPA_PLATFORM=offscreen take_screenshot BASEFOLDER OUT.png [SEARCH [ROW]]

#include "app/F_main.h"
#include "app/application.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTreeView>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: take_screenshot BASEFOLDER OUT.png [SEARCH]\n");
        return 2;
    }
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "no folder %s\n", argv[1]);
        return 1;
    }
    Application application;
    QString error;
    if (!application.start(&error)) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(error));
        return 1;
    }
    TFMain* main = application.mainWindow();
    if (argc > 3)
        main->ESuchen->setText(QString::fromLocal8Bit(argv[3]));
    main->selectRow(argc > 4 ? QByteArray(argv[4]).toInt() : 3);
    main->RefreshSummary();
    app.processEvents();
    const bool saved = main->grab().save(QString::fromLocal8Bit(argv[2]));
    main->setOptionsRead(false);
    return saved ? 0 : 1;
}
