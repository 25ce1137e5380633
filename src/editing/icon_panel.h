#pragma once
// The default icon of the detail area: stepping through a file's icons with the scroll bar, and
// the icon panel Grid1 that shows every icon of a file ("&Find" picks the file first, "&Icons"
// takes the one in the icon field) with "&Select" and "&Cancel". Choosing only fills the icon
// fields; Apply writes them with its backup.

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

class IconPanelHandlers : public QObject {
    Q_OBJECT
public:
    explicit IconPanelHandlers(MainContext& ctx, QObject* parent);

    void hs_Change();
    void cmdIcons_Click();
    void cmdIconView_Click();
    void Grid1_MouseDown(int row, int column);
    void cmdSelect_Click();
    void cmdCancel_Click();

    // The file picker "&Find" shows; frmIcon unless replaced.
    std::function<QString()> pickIconFile;

    QString IconFile;
    QString IconKind;
    int IconCount = 0;
    int IconValue = 0;
    bool SyncScrollBar = false;
    QString SavedIconFile;
    QString SavedIconNumber;
    bool ApplyWasEnabled = false;
    QString ChosenIcon;
    QString SelectedIconFile;

private:
    // Shows the panel over the grids with the icons of IconFile; noIcons is the panel's text for
    // a file without icons.
    void openPanel(const QString& noIcons);
    void closePanel();
    QList<QObject*> panelLockedControls() const;

    MainContext& m_ctx;
    bool m_stepping = false;
    // Whether each locked control was enabled when the panel opened.
    QList<bool> m_lockedWasEnabled;
};

} // namespace orvanex::editing
