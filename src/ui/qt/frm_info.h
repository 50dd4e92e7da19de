#pragma once

// The info dialog: the program's picture, title and version, credits and a contact address.

#include <QDialog>

class QLabel;
class QPushButton;

namespace quorbel {

class frmInfo : public QDialog {
    Q_OBJECT
  public:
    explicit frmInfo(QWidget* parent = nullptr);

    // Shows the dialog modally in the middle of the screen and returns when it is closed.
    void showCentred();

  private:
    QLabel* Image1;
    QLabel* Label1;
    QPushButton* Command1;
};

}  // namespace quorbel
