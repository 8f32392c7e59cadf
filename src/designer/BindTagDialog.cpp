#include "BindTagDialog.h"

#include <mervgauge/MervGaugeBinding.h>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace {
constexpr int TagFieldChars = 40; // a tag of several levels reads whole
} // namespace

BindTagDialog::BindTagDialog(const QString& variableName, QWidget* parent)
    : QDialog(parent), m_tag(new QLineEdit(this)), m_problem(new QLabel(this)),
      m_staleMs(new QSpinBox(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(tr("Bind to Tag"));
    m_tag->setObjectName(QStringLiteral("tag"));
    // Room for a plant's tag and for the placeholder that names the variable.
    m_tag->setMinimumWidth(m_tag->fontMetrics().averageCharWidth() * TagFieldChars);
    m_tag->setPlaceholderText(variableName.isEmpty()
                                  ? tr("Empty takes the variable name, which is not set")
                                  : tr("Empty takes the variable name: %1").arg(variableName));
    m_problem->setObjectName(QStringLiteral("tagProblem"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    m_staleMs->setObjectName(QStringLiteral("staleMs"));
    m_staleMs->setRange(MervGaugeBinding::LeastStaleMs, std::numeric_limits<int>::max());
    m_staleMs->setSuffix(QStringLiteral(" ms"));
    m_staleMs->setValue(MervGaugeBinding::DefaultStaleMs);

    auto* fields = new QFormLayout;
    auto* tagColumn = new QVBoxLayout;
    tagColumn->addWidget(m_tag);
    tagColumn->addWidget(m_problem);
    // The row's field is a column of two, so the label names its line edit itself.
    auto* tagLabel = new QLabel(tr("&Tag:"), this);
    tagLabel->setBuddy(m_tag);
    fields->addRow(tagLabel, tagColumn);
    fields->addRow(tr("&Stale after:"), m_staleMs);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_buttons);

    connect(m_tag, &QLineEdit::textChanged, this, &BindTagDialog::checkTag);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString BindTagDialog::tag() const {
    return m_tag->text().trimmed();
}

void BindTagDialog::setTag(const QString& tag) {
    m_tag->setText(tag);
    checkTag();
}

int BindTagDialog::staleMs() const {
    return m_staleMs->value();
}

void BindTagDialog::setStaleMs(int staleMs) {
    m_staleMs->setValue(staleMs);
}

QString BindTagDialog::tagProblem(const QString& typed) {
    const QString tag = typed.trimmed();
    if (tag.startsWith(QLatin1String(MervGaugeBinding::StationTagPrefix)))
        return tr("Tags under \"%1\" are the stations' own; no gauge may read one.")
            .arg(QLatin1String(MervGaugeBinding::StationTagPrefix));
    for (QChar c : tag) {
        if (c.isSpace())
            return tr("A tag has no spaces inside.");
    }
    return {};
}

void BindTagDialog::checkTag() {
    const QString problem = tagProblem(m_tag->text());
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}
