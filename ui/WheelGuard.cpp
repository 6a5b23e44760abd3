#include "ui/WheelGuard.h"

#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace {

class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel) return false;
        const auto* list = qobject_cast<QComboBox*>(watched);
        if (list == nullptr || list->hasFocus()) return false;
        event->ignore();
        return true;
    }
};

}  // namespace

void guardListsFromTheWheel(QWidget* window)
{
    auto* guard = new WheelGuard(window);
    for (QComboBox* list : window->findChildren<QComboBox*>()) {
        list->setFocusPolicy(Qt::StrongFocus);
        list->installEventFilter(guard);
    }
}
