#include "host/ScriptedColorDialog.h"

namespace merv::host {

void ScriptedColorDialog::ShowColor() {
    if (onShow)
        onShow(m_flags, m_color);
    // A cancelled chooser leaves Color as it was put.
    if (m_answer)
        m_color = *m_answer;
}

} // namespace merv::host
