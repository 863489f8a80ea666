#include "app/Forms.h"

#include "shell/tmHome.h"

TForm1* Form1 = nullptr;
TForm4* Form4 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm10* Form10 = nullptr;

namespace rostrix {

void createForms() {
    Form1 = new TForm1;
}

void destroyForms() {
    delete Form1;
    Form1 = nullptr;
}

}  // namespace rostrix
