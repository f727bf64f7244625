#pragma once

// Qt
#include <QDialog>

// std
#include <memory>

namespace Ui {
class frmAbout;
}

namespace tonarika {

// The about box: title, version, a word of encouragement, the credit line and the icon.
// OK, Enter, Esc and the close box all close it.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

private:
    std::unique_ptr<Ui::frmAbout> m_ui;
};

}  // namespace tonarika
