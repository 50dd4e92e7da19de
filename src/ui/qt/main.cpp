// Quorbel: four in a row against the computer, in one window.

#include <QApplication>

#include "ai/move_driver.h"
#include "ui/qt/frm_quorbel.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorbel"));
    quorbel::prepareApplication();

    quorbel::MoveDriver computer;
    quorbel::frmQuorbel window(computer);  // runs Form_Load before it is shown
    window.show();
    return QApplication::exec();
}
