// Lists that a mouse wheel passing over them does not change.
//
// A list here is a datum, a kind, a hemisphere: a change nobody saw is a wrong result, and the
// settings keep it at close. A guarded list takes the wheel only while it has the focus, which
// a click or Tab gives it (the wheel itself no longer does); otherwise the wheel goes on to the
// window as if the list were not there.
#pragma once

class QWidget;

// Guards every list among the window's children.
void guardListsFromTheWheel(QWidget* window);
