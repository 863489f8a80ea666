// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/TeamLayout.h"

namespace rostrix {

const std::vector<std::string>& sampleTeamLines() {
    // clang-format off
    static const std::vector<std::string> lines{
        "*A       W2000 Oakland      AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P",
        "00    08 Halloran, Mickey  258  70  18   1   9  29  32  37 L   5  2  0  63 062-8",
        "00    04 Brisco, Dale      208  62  10   0   7  33  38  23 R   7  6  3  53 053-4",
        "00    03 Tennant, Royce    290  97  16   1  22  78  55  78 L   4  2  0  85 071-3 011-D",
        "00  a 10 Vandermolen, Chris163  49  10   2   6  15  33  22 R   3  1  0  52 017-3 014-D 013-5",
        "00    07 Okafor, Lionel    333 100  23   1  16  33  71  65 L   2  2  0  85 084-7",
        "00    06 Pettibone, Jack   332  83  17   1  15  29  58  63 R  14  4  0  85 085-6",
        "00    09 Quintero, Ruben   275  60  13   0  14  49  75  47 L   3  3  1  78 060-9 015-D 001-8",
        "00    05 Albright, Wes     261  71  10   3  13  38  48  42 L  11  0  1  80 077-5 001-D",
        "00    02 Sorensen, Nils    216  53   7   0   8  26  34  31 R   7  0  0  74 074-2",
        "*Pitchers                  Inn Hit  2B  3B  HR  BB  SO ERA T   W  L  S Gam  St",
        "00    01 Marchetti, Sal    101 104  28   2  12  52  68 437 R   8  5  0  16  16",
        "00    01 Dunleavy, Pat     113 122  31   1  11  40  57 399 R   9  7  0  18  18",
        "00    01 Kowalczyk, Stan   110  89  17   3  16  54  99 427 R  10  2  0  18  18",
        "00    01 Ferreira, Tomas    80  99  18   1  10  36  39 664 R   3  8  0  14  14",
        "00    01 Whitcombe, Gil     87 109  23   1  13  39  53 507 L   5  4  0  15  15",
        "00    01 Abernathy, Hank    39  35   5   0   2  16  34 279 R   4  2 19  36   0",
        "00    01 Lindqvist, Erik    60  58   8   3   1  14  35 240 R   3  2  2  40   0",
        "00    01 Mbeki, Thabo       40  52  10   1   5   5  31 499 R   2  1  2  29   0",
        "00    01 Castellano, Rey    40  44   6   1   7  19  26 563 R   2  2  0  32   0",
        "00    01 Pruitt, Elmer      19  28   5   0   1  13   6 568 L   0  1  0  27   0",
        "00    01 Yamashiro, Ken     21  28   9   0   3  13  19 729 R   1  1  0  11   0",
        "00    01 Greaves, Otis      19  25   4   0   2  11  18 745 R   0  1  0  12   0",
        "*Bench                      AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P",
        "00    10 Delacroix, Remy    33  10   0   3   2   0   7   8 R   0  0  1  10 006-D 003-5",
        "00    07 Huxtable, Vern     78  22   2   0   3  13  21  10 R   3  1  2  64 028-7 022-8 009-9",
        "00  a 09 Szabo, Laszlo     150  42   4   1   7  17  34  35 L   3  0  0  53 027-9 011-D 006-3",
        "00    04 Ridgeway, Clint   104  26   5   1   5  14  36  19 R   3  1  3  39 035-4 002-5 001-D",
        "00    02 Espinal, Tito      79  15   4   0   2  10  28   7 R   2  0  0  29 029-2",
        "00    10 Merriweather, Bo   97  17   1   0   1  33  38   5 R   0  1  0  33 030-D",
        "00    04 Cutler, Amos       24   3   1   0   0   0   6   2 R   0  0  0  18 014-4 004-6",
    };
    // clang-format on
    return lines;
}

}  // namespace rostrix
