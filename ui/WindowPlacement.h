// Where the program's windows appear: each is centred on the screen it is shown on.
#pragma once

#include <QScreen>
#include <QWidget>

inline void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}
