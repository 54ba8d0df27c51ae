// Help > Help inhoud (being built).
#include "app/TForm1.h"

void TForm1::Help2Click() {}
