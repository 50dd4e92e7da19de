#include "ui/qt/frm_info.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/qt/controls.h"
#include "ui/qt/title_bar.h"

namespace quorbel {

namespace {

// One item a line, blank lines setting the greeting apart.
const char* const kInfoText =
    "Quorbel - Version 2.0\n"
    "von den Quorbel-Entwicklern\n"
    "\n"
    "Viel Spass beim Spielen!\n"
    "\n"
    "Anregungen an:\n"
    "quorbel@example.org";

}  // namespace

frmInfo::frmInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Image1(new QLabel(this)),
      Label1(new QLabel(QString::fromUtf8(kInfoText), this)),
      Command1(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmInfo"));
    // No caption text. An empty title would make Qt show the application's name instead.
    setWindowTitle(QStringLiteral(" "));
    setModal(true);
    setFixedSize(px(6420), px(3195));
    // Assistive technology names the dialog, whose title on the screen stays blank.
    setAccessibleName(QStringLiteral("Info"));

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(240, 360, 1680, 1680));
    Image1->setPixmap(quorbelIcon().pixmap(Image1->size(), devicePixelRatioF()));
    Image1->setScaledContents(true);
    Image1->setAccessibleName(QStringLiteral("Quorbel"));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(2160, 225, 3780, 2385));
    Label1->setFont(windowFont(12));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    QPalette blueText = Label1->palette();
    blueText.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label1->setPalette(blueText);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(2550, 2670, 1335, 495));
    Command1->setFont(windowFont(12));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    new FocusRing(*this);
    TitleBar::addOnWayland(*this);
}

void frmInfo::showCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed(QPoint(), size());
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
    Command1->setFocus();
    exec();
}

}  // namespace quorbel
