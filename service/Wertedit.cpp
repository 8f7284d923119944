#include "Wertedit.h"

#include "core/Tools01.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The value 3Fh passes the range test whatever the range.
constexpr int kAlwaysAccepted = 63;

} // namespace

TfmWertEdit::TfmWertEdit(UserMessages& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), GroupBox1(new QGroupBox(this)),
      lblName(new QLabel(GroupBox1)), Label2(new QLabel(GroupBox1)),
      cbWert(new QComboBox(GroupBox1)), bnUebernehmen(new QPushButton(this)),
      bnAbbrechen(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmWertEdit"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    lblName->setObjectName(QStringLiteral("lblName"));
    Label2->setObjectName(QStringLiteral("Label2"));
    cbWert->setObjectName(QStringLiteral("cbWert"));
    bnUebernehmen->setObjectName(QStringLiteral("bnUebernehmen"));
    bnAbbrechen->setObjectName(QStringLiteral("bnAbbrechen"));

    lblName->setAlignment(Qt::AlignCenter);
    cbWert->setEditable(true);
    cbWert->setInsertPolicy(QComboBox::NoInsert);
    cbWert->setMinimumContentsLength(16);
    bnUebernehmen->setDefault(true);

    auto* entry = new QGridLayout(GroupBox1);
    entry->addWidget(lblName, 0, 0, 1, 2);
    entry->addWidget(Label2, 1, 0);
    entry->addWidget(cbWert, 1, 1);
    entry->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnUebernehmen);
    buttons->addWidget(bnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cbWert, &QComboBox::editTextChanged, this, &TfmWertEdit::cbWertChange);
    connect(bnUebernehmen, &QPushButton::clicked, this, &TfmWertEdit::bnUebernehmenClick);
    connect(bnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    SetLanguage();
}

void TfmWertEdit::Configure(int minimum, int maximum, int displayMode, int digits)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_displayMode = displayMode;
    m_digits = digits;
}

void TfmWertEdit::SetLanguage()
{
    setWindowTitle(LanguageText(22));
    GroupBox1->setTitle(LanguageText(60) + u':');
    Label2->setText(LanguageText(258));
    bnUebernehmen->setText(LanguageText(242));
    bnAbbrechen->setText(LanguageText(2));
}

void TfmWertEdit::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        FormShow();
}

void TfmWertEdit::FormShow()
{
    lblName->setText(m_name);
    cbWert->setFocus();
    if (m_digits != m_historyDigits) {
        cbWert->clear();
        m_historyDigits = m_digits;
    }
    const QString text = valueText();
    QLineEdit* input = cbWert->lineEdit();
    input->setText(text);
    input->deselect();
    input->setCursorPosition(text.contains(u'h') ? text.size() - 1 : text.size());
}

QString TfmWertEdit::valueText() const
{
    switch (m_displayMode) {
    case 0:
        return ShortHexText(m_value);
    case 1:
    case 3:
        return QString::number(m_value);
    default:
        return HexText(m_value, m_digits);
    }
}

void TfmWertEdit::cbWertChange(const QString& text)
{
    QLineEdit* input = cbWert->lineEdit();
    const FilteredText filtered = FilterHexTyping(text, input->cursorPosition());
    if (filtered.text == text)
        return;
    input->setText(filtered.text);
    input->setCursorPosition(filtered.caret);
}

// Empty when `value` may be taken, else the message that says why not.
QString TfmWertEdit::rangeError(int value) const
{
    if (value < 0)
        return QStringLiteral("Wert ungültig");
    if (value == kAlwaysAccepted)
        return {};
    if (value > m_maximum)
        return QStringLiteral("Wert zu groß.");
    if (value < m_minimum)
        return QStringLiteral("Wert zu klein.");
    return {};
}

void TfmWertEdit::bnUebernehmenClick()
{
    const int value = ParseValue(cbWert->currentText());
    if (const QString error = rangeError(value); !error.isEmpty()) {
        m_messages.warning(QStringLiteral("Fehler"), error);
        return;
    }
    addToHistory(value);
    m_value = value;
    accept();
}

void TfmWertEdit::addToHistory(int value)
{
    QStringList history;
    for (int i = 0; i < cbWert->count(); ++i)
        history << cbWert->itemText(i);
    AddToHistory(history, value, m_digits);
    if (history.size() > cbWert->count())
        cbWert->addItem(history.last());
}
