// The toolkit's own texts in the chosen language: the file dialogs, the boxes' context menus and
// the standard buttons ("Cancel", "Yes") come from Qt's translations (Debian
// qt6-translations-l10n), loaded at each language switch. Without them they stay in English.
#pragma once

#include <QTranslator>

class ToolkitTranslation {
public:
    ToolkitTranslation() = default;
    ~ToolkitTranslation();
    ToolkitTranslation(const ToolkitTranslation&) = delete;
    ToolkitTranslation& operator=(const ToolkitTranslation&) = delete;

    // Follows the window's language: 0 Portuguese (as spoken in Brazil), 1 English, 2 Spanish.
    void follow(int language);

private:
    QTranslator translator_;
    bool installed_ = false;
};
