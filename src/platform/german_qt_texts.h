// Qt's own texts (the file dialogs' buttons, tool tips and questions, the text views' context
// menus) in German, as the rest of the application's texts.
#pragma once

// Installs Qt's German translation in the running application once; without the translation
// files (Debian package qt6-translations-l10n) Qt's texts stay English. GUI thread.
void usegermanqttexts();
