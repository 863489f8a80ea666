#include "app/Forms.h"

#include "teamfile/tmPlyrArchive.h"

TForm1* Form1 = nullptr;
TForm4* Form4 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm10* Form10 = nullptr;

namespace rostrix {

void createForms() {
    Form3 = new TForm3;
}

void destroyForms() {
    delete Form3;
    Form3 = nullptr;
}

}  // namespace rostrix
