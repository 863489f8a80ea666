// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's windows: one global instance each, created once at start-up in a fixed
// order (main window first) and destroyed at exit.
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm10;
class TForm14;

extern TForm1* Form1;
extern TForm4* Form4;
extern TForm2* Form2;
extern TForm3* Form3;
extern TForm5* Form5;
extern TForm6* Form6;
extern TForm7* Form7;
extern TForm8* Form8;
extern TForm10* Form10;
extern TForm14* Form14;

namespace rostrix {

// Creates the windows in their fixed order. Tests create them the same way.
void createForms();
// Destroys them in the reverse order and clears the globals.
void destroyForms();

}  // namespace rostrix
