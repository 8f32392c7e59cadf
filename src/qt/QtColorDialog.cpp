#include "QtColorDialog.h"

#include <mervgauge/private/OleColor.h>

#include <QColorDialog>

namespace merv::qt {

void QtColorDialog::ShowColor() {
    QColorDialog dialog(&m_owner);
    if (m_flags & ColorDialogFlag::RgbInit)
        dialog.setCurrentColor(toQColor(m_color, m_owner.palette()));
    if (dialog.exec() == QDialog::Accepted)
        m_color = toOleColor(dialog.selectedColor());
}

} // namespace merv::qt
