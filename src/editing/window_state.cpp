#include "editing/window_state.h"

namespace orvanex::editing {

void WindowState::setEditState(EditState state) {
    if (state == m_editState)
        return;
    const EditState before = m_editState;
    m_editState = state;
    Q_EMIT editStateChanged(state, before);
}

void WindowState::showEntry(EditState state) {
    setEditState(state);
    Q_EMIT entryShown();
}

void WindowState::setPanel(PanelOpen panel) {
    if (panel == m_panel)
        return;
    m_panel = panel;
    Q_EMIT panelChanged(panel);
}

void WindowState::setActionEditState(ActionEditState state) {
    if (state == m_actionEdit)
        return;
    m_actionEdit = state;
    Q_EMIT actionEditStateChanged(state);
}

void WindowState::setSelectBy(SelectBy by) {
    if (by == m_selectBy)
        return;
    m_selectBy = by;
    Q_EMIT selectByChanged(by);
}

} // namespace orvanex::editing
