#pragma once
// The editing state of the main window that its handlers share: what the detail area shows,
// which panel covers the lists, whether the action panel takes edits and which list the user
// selects from. Every change goes through a setter that says what changed, so a handler that
// cares listens instead of polling another handler's fields.

#include <QObject>

namespace orvanex::editing {

// The numbers are the ones the states always had (tests and benchmarks set them by number).
enum class EditState : int {
    Nothing = 0,         // nothing shown
    EntryShown = 1,      // an entry shown in the detail area
    IconPanel = 2,       // the icon panel of an entry shown
    NewType = 3,         // a new file type being entered
    NewTypeIconPanel = 4 // the icon fields of a new type being filled from the icon panel
};

// The panel that covers the lists and locks the selection.
enum class PanelOpen : int { None = 0, Action, Delete, AddExtensions };

// Whether the action panel's fields are live (their edits enable its OK button).
enum class ActionEditState : int { Closed = 0, Open = 1 };

// Which list the window selects from: the extension list (flex1) or the file-type list (flex2).
enum class SelectBy : int { FileExtension = 0, FileType = 1 };

class WindowState : public QObject {
    Q_OBJECT
public:
    EditState editState() const { return m_editState; }
    void setEditState(EditState state);
    // A panel being open, whichever.
    bool panelOpen() const { return m_panel != PanelOpen::None; }
    PanelOpen panel() const { return m_panel; }
    void setPanel(PanelOpen panel);
    ActionEditState actionEditState() const { return m_actionEdit; }
    void setActionEditState(ActionEditState state);
    SelectBy selectBy() const { return m_selectBy; }
    bool byFileType() const { return m_selectBy == SelectBy::FileType; }
    void setSelectBy(SelectBy by);
    // The action panel was opened to add an action (not to change one).
    bool addingAction() const { return m_addingAction; }
    void setAddingAction(bool adding) { m_addingAction = adding; }
    // The detail area has taken an entry in, its state set last so that the loading does not
    // count as an edit; whoever follows the entry shown (the update slots) hears of it.
    void showEntry(EditState state);

Q_SIGNALS:
    void editStateChanged(orvanex::editing::EditState now, orvanex::editing::EditState before);
    void panelChanged(orvanex::editing::PanelOpen now);
    void actionEditStateChanged(orvanex::editing::ActionEditState now);
    void selectByChanged(orvanex::editing::SelectBy now);
    void entryShown();

private:
    EditState m_editState = EditState::Nothing;
    PanelOpen m_panel = PanelOpen::None;
    ActionEditState m_actionEdit = ActionEditState::Closed;
    SelectBy m_selectBy = SelectBy::FileExtension; // the window starts with the extensions
    bool m_addingAction = false;
};

} // namespace orvanex::editing
