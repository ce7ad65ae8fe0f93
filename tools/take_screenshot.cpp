// Starts the program in a base folder, as the user would, and saves a picture of the
// main window, or with --editor of the editor opened on the selected row, for checking
// the look of a change:
//
//   QT_QPA_PLATFORM=offscreen take_screenshot [--editor] BASEFOLDER OUT.png [SEARCH [ROW]]

#include "app/F_main.h"
#include "app/application.h"
#include "editor/F_KVE.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTreeView>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool editor = args.removeAll(QStringLiteral("--editor")) > 0;
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: take_screenshot [--editor] BASEFOLDER OUT.png [SEARCH [ROW]]\n");
        return 2;
    }
    if (!QDir::setCurrent(args.at(0))) {
        std::fprintf(stderr, "no folder %s\n", qPrintable(args.at(0)));
        return 1;
    }
    Application application;
    QString error;
    if (!application.start(&error)) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(error));
        return 1;
    }
    TFMain* main = application.mainWindow();
    if (args.size() > 2)
        main->ESuchen->setText(args.at(2));
    main->selectRow(args.size() > 3 ? args.at(3).toInt() : 3);
    main->RefreshSummary();
    QWidget* shown = main;
    if (editor) {
        main->Rezeptladen1Click();
        shown = application.editor();
    }
    app.processEvents();
    const bool saved = shown->grab().save(args.at(1));
    main->setOptionsRead(false);
    return saved ? 0 : 1;
}
