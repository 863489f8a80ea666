#include "app/Forms.h"

#include "shell/tmHome.h"
#include "teamfile/tmEditor.h"

TForm1* Form1 = nullptr;
TForm4* Form4 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm10* Form10 = nullptr;

namespace rostrix {

namespace {

template <class T>
void destroy(T*& form) {
    delete form;
    form = nullptr;
}

}  // namespace

void createForms() {
    Form1 = new TForm1;
    Form4 = new TForm4;
}

void destroyForms() {
    destroy(Form4);
    destroy(Form1);
}

}  // namespace rostrix
