// Resource names of the program's icon and pictures (used by nenga.rc and the code).
#pragma once

#define NENGA_ICON_MAIN "MAINICON"
#define NENGA_BMP_CHECK "BMP_CHECK"      // cmdCheck, 151 x 172, 256 colours, white transparent
#define NENGA_BMP_OPEN "BMP_OPEN"        // cmdOpen, 16 x 16, 16 colours, silver transparent
#define NENGA_BMP_EDIT "BMP_EDIT"        // cmdEdit, 32 x 32, 256-colour palette
#define NENGA_BMP_HELP "BMP_HELP"        // cmdHelp, 32 x 32, 256-colour palette
#define NENGA_BMP_CONGRAT "BMP_CONGRAT"  // imCongrat, 540 x 342, 16 colours
