#pragma once

class QDesignerFormEditorInterface;
class QWidget;

// Gives a gauge on a form its binding (tag and stale time) as dynamic properties of its property
// sheet, at their defaults, where it has none yet; a gauge that has them keeps their values.
// Whether the gauge has both afterwards; false for a widget that is not a gauge.
bool addMissingBindingProperties(QDesignerFormEditorInterface* core, QWidget* widget);
