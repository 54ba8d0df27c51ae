// The fog run handlers of the main window (being built; see the fog run work).
#include "app/TForm1.h"

void TForm1::CheckEnvFolder(const std::string&) {}
void TForm1::FindSunEnvFiles(const std::string&) {}
void TForm1::FindRainEnvFiles(const std::string&) {}
void TForm1::FindSnowEnvFiles(const std::string&) {}
void TForm1::Button1Click() {}
void TForm1::Button2Click() {}
void TForm1::FormCloseQuery(bool& CanClose) { CanClose = !FilesReplaced; }
