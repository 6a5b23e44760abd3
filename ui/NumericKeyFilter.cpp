#include "ui/NumericKeyFilter.h"

#include "transform/text/KeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <optional>

namespace {

// The character a keystroke types, as the filter sees it: Ctrl+A..Ctrl+Z are the control codes
// 1..26 (so Ctrl+C and Ctrl+V pass while Ctrl+X, Ctrl+Z and Ctrl+A do not); Backspace types
// code 8, which passes. Keys that type nothing give no value and are not filtered.
std::optional<char32_t> typedCharacter(const QKeyEvent& key)
{
    const bool control = key.modifiers() & Qt::ControlModifier;
    if (control && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return static_cast<char32_t>(key.key() - Qt::Key_A + 1);
    if (control || key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete) return {};
    const QString text = key.text();
    if (text.isEmpty()) return {};
    const char32_t first = text.toUcs4().value(0);
    if (first < 0x20 || first == 0x7F) return {};  // Tab, Enter, Escape and the like
    return first;
}

}  // namespace

NumericKeyFilter::NumericKeyFilter(char decimalSeparator, QObject* parent)
    : QObject(parent), decimalSeparator_(decimalSeparator)
{
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    const auto typed = typedCharacter(*static_cast<QKeyEvent*>(event));
    if (!box || !typed) return false;

    const auto passed = filterNumericKey(*typed, decimalSeparator_);
    if (!passed) return true;                     // discarded: the box does not change
    if (*passed == *typed) return false;          // the box handles the key itself
    box->insert(QString::fromUcs4(&*passed, 1));  // "." or "," typed as the user's separator
    return true;
}
