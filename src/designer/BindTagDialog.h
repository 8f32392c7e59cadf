#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// "Bind to Tag…": the tag a gauge's value comes from on the operator panel and how long it may
// stay quiet before the value shows as stale. It only edits; the task menu writes what it gives.
class BindTagDialog : public QDialog {
    Q_OBJECT

public:
    // The variable name is what an empty tag takes; the line edit's placeholder shows it.
    explicit BindTagDialog(const QString& variableName, QWidget* parent = nullptr);

    // The tag as typed, trimmed.
    QString tag() const;
    void setTag(const QString& tag);
    int staleMs() const;
    void setStaleMs(int staleMs);

    // Why a gauge may not read the tag (trimmed first), or empty when it may.
    static QString tagProblem(const QString& tag);

private:
    // Shows why the tag is refused under it and keeps OK disabled while it is.
    void checkTag();

    QLineEdit* m_tag;
    QLabel* m_problem;
    QSpinBox* m_staleMs;
    QDialogButtonBox* m_buttons;
};
