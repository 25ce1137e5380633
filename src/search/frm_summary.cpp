#include "search/frm_summary.h"

#include "platform/icon_draw.h"
#include "platform/icon_extract.h"
#include "reports/report_print.h"
#include "search/file_summary_print.h"
#include "settings/settings_store.h"
#include "settings/window_position.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanex::search {

namespace {

constexpr char kSummaryTag[] = "frmSummary";
constexpr int kIconSize = 32;

} // namespace

frmSummary::frmSummary(const QString& SelectedFile, const QString& nativePath,
                       const ExtensionDescriber& describe, QWidget* parent)
    : QDialog(parent), m_summary(SummarizeFile(SelectedFile, nativePath, describe)) {
    setObjectName(QLatin1String(kSummaryTag));
    setWindowTitle(QStringLiteral("ORVANEX Summary"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    pixLarge = new QLabel(this);
    pixLarge->setObjectName(QStringLiteral("pixLarge"));
    pixLarge->setFixedSize(kIconSize, kIconSize);
    top->addWidget(pixLarge, 0, Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(2);
    for (const SummaryLine& line : m_summary.lines)
        lines->addWidget(lineLabel(line));
    top->addLayout(lines, 1);
    layout->addLayout(top);

    lblPrted = new QLabel(this);
    lblPrted->setObjectName(QStringLiteral("lblPrted"));
    cmdPrint = new QPushButton(QStringLiteral("&Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setToolTip(QStringLiteral("Print File Summary"));
    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setToolTip(QStringLiteral("Exit File Summary"));
    cmdExit->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblPrted, 1);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdExit);
    layout->addLayout(buttons);
    connect(cmdPrint, &QPushButton::clicked, this, &frmSummary::cmdPrint_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmSummary::cmdExit_Click);

    showIcon(nativePath);
    adjustSize();
    RestoreWindowPosition(this, QLatin1String(kMainAppName), QLatin1String(kSummaryTag));
}

QLabel* frmSummary::lineLabel(const SummaryLine& line) {
    auto* label = new QLabel(line.text(), this);
    label->setObjectName(line.name);
    // Plain text: a file name or version string is never taken for markup.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font(summaryFontFamily());
    font.setStyleHint(QFont::Monospace);
    label->setFont(font);
    QLabel** slot = nullptr;
    if (line.name == QLatin1String("lblFile"))
        slot = &lblFile;
    else if (line.name == QLatin1String("lblType"))
        slot = &lblType;
    else if (line.name == QLatin1String("lblSize"))
        slot = &lblSize;
    else if (line.name == QLatin1String("lblAttr"))
        slot = &lblAttr;
    else if (line.name == QLatin1String("lblTime"))
        slot = &lblTime;
    else if (line.name == QLatin1String("lblInf9"))
        slot = &lblInf9;
    else if (line.name == QLatin1String("lblInf0"))
        slot = &lblInf0;
    else if (line.name == QLatin1String("lblInfE"))
        slot = &lblInfE;
    if (slot)
        *slot = label;
    else
        lblInf.append(label);
    return label;
}

void frmSummary::showIcon(const QString& nativePath) {
    // A program's own icon where it has one, else the desktop's icon for the file's type.
    QPixmap icon;
    const QFileInfo info(nativePath);
    if (info.isFile() && platform::extractIconCount(nativePath) > 0)
        icon = platform::iconPixmap(nativePath, 0, devicePixelRatioF(), kIconSize);
    if (icon.isNull())
        icon = QFileIconProvider().icon(info).pixmap(kIconSize, kIconSize);
    pixLarge->setPixmap(icon);
}

void frmSummary::cmdPrint_Click() {
    lblPrted->setText(QStringLiteral("Starting Print, please wait"));
    lblPrted->repaint();
    QString error;
    if (!printToFile.isEmpty()) {
        const reports::PrintOutcome outcome = writeFileSummaryPdf(printToFile, m_summary);
        error = outcome.ok ? QString() : outcome.error;
    } else {
        const reports::PrintResult result = reports::printReport(
            this, [this](QPagedPaintDevice* device) { return PrintFileSummary(device, m_summary); },
            false);
        error = result.route == reports::PrintRoute::Failed ? result.error : QString();
    }
    lblPrted->setText(error.isEmpty() ? QStringLiteral("Finished Print")
                                      : QStringLiteral("Print failed: ") + error);
    lblPrted->repaint();
}

void frmSummary::cmdExit_Click() {
    close();
}

void frmSummary::done(int result) {
    SaveWindowPosition(this, QLatin1String(kMainAppName), QLatin1String(kSummaryTag));
    QDialog::done(result);
}

void ShowFileSummary(const QString& SelectedFile, const QString& nativePath,
                     const ExtensionDescriber& describe, QWidget* parent) {
    frmSummary window(SelectedFile, nativePath, describe, parent);
    window.exec();
}

} // namespace orvanex::search
