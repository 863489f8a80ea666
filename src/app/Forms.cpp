#include "app/Forms.h"

#include "teamfile/tmEditor.h"

TForm1* Form1 = nullptr;
TForm4* Form4 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm10* Form10 = nullptr;

namespace rostrix {

void createForms() {
    Form4 = new TForm4;
}

void destroyForms() {
    delete Form4;
    Form4 = nullptr;
}

}  // namespace rostrix
