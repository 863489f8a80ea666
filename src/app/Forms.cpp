#include "app/Forms.h"

TForm1* Form1 = nullptr;
TForm4* Form4 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm10* Form10 = nullptr;

namespace rostrix {

void createForms() {}

void destroyForms() {}

}  // namespace rostrix
