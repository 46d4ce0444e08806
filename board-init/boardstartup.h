#pragma once

class QApplication;
class QTranslator;

// Prepares the application before the main window is built: names and
// organisation (which choose the settings store), the Polish translation
// (installed through `translator`, which must outlive the application's use of
// it), the style of the tool set, and the settings read into the cache.
// Returns false when the translation could not be loaded.
bool prepareBoardApplication(QApplication &application, QTranslator &translator);
