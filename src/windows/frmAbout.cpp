#include "frmAbout.h"

// own
#include "Appearance.h"
#include "Version.h"
#include "ui_frmAbout.h"

namespace tonarika {

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmAbout>())
{
    m_ui->setupUi(this);
    useLightPalette(*this);
    // The design holds the title up to the version, which comes from the build.
    m_ui->lblTitle->setText(m_ui->lblTitle->text() + QStringLiteral(TONARIKA_VERSION));
    // A fixed dialog frame: a close box, no minimise or maximise, no taskbar entry of
    // its own (it belongs to the main window).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(programIcon());
    // The 32-pixel picture, drawn from an image of as many device pixels as the screen
    // has: on a 2x screen the 64-pixel art, not the 32-pixel image scaled up.
    m_ui->picIcon->setPixmap(programIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    setFixedSize(size());
    // These two labels fit themselves to their text, their top-left corner fixed.
    m_ui->lblTitle->adjustSize();
    m_ui->Label1->adjustSize();
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    centreOnScreen(*this);
}

frmAbout::~frmAbout() = default;

}  // namespace tonarika
