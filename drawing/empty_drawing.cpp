#include "drawing/empty_drawing.h"

namespace drawing {

std::string newDrawingBytes() {
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n"
           "  9\n$DWGCODEPAGE\n  3\nANSI_936\n  9\n$INSBASE\n 10\n0.0\n 20\n0.0\n"
           " 30\n0.0\n  9\n$EXTMIN\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  9\n$EXTMAX\n"
           " 10\n420.0\n 20\n297.0\n 30\n0.0\n  9\n$LIMMIN\n 10\n0.0\n 20\n0.0\n"
           "  9\n$LIMMAX\n 10\n420.0\n 20\n297.0\n  9\n$CLAYER\n  8\n0\n"
           "  9\n$TEXTSTYLE\n  7\nSTANDARD\n  9\n$DIMSTYLE\n  2\nSTANDARD\n"
           "  9\n$TILEMODE\n 70\n1\n  9\n$HANDLING\n 70\n1\n  9\n$HANDSEED\n"
           "  5\n20\n  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n"
           "  2\nVPORT\n 70\n1\n  0\nVPORT\n  5\n10\n  2\n*ACTIVE\n 70\n0\n"
           " 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n 12\n210.0\n 22\n148.5\n"
           " 40\n297.0\n 41\n1.414\n  0\nENDTAB\n  0\nTABLE\n  2\nLTYPE\n 70\n1\n"
           "  0\nLTYPE\n  5\n11\n  2\nCONTINUOUS\n 70\n0\n  3\nSolid line\n"
           " 72\n65\n 73\n0\n 40\n0.0\n  0\nENDTAB\n  0\nTABLE\n  2\nLAYER\n"
           " 70\n1\n  0\nLAYER\n  5\n12\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n"
           "  0\nENDTAB\n  0\nTABLE\n  2\nSTYLE\n 70\n1\n  0\nSTYLE\n  5\n13\n"
           "  2\nSTANDARD\n 70\n0\n 40\n0.0\n 41\n1.0\n 50\n0.0\n 71\n0\n"
           " 42\n2.5\n  3\ntxt\n  4\n\n  0\nENDTAB\n  0\nTABLE\n  2\nVIEW\n"
           " 70\n0\n  0\nENDTAB\n  0\nTABLE\n  2\nUCS\n 70\n0\n  0\nENDTAB\n"
           "  0\nTABLE\n  2\nAPPID\n 70\n1\n  0\nAPPID\n  5\n14\n  2\nACAD\n"
           " 70\n0\n  0\nENDTAB\n  0\nTABLE\n  2\nDIMSTYLE\n 70\n1\n"
           "  0\nDIMSTYLE\n105\n15\n  2\nSTANDARD\n 70\n0\n  0\nENDTAB\n"
           "  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  5\n16\n  8\n0\n"
           "  2\n$MODEL_SPACE\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
           "  3\n$MODEL_SPACE\n  1\n\n  0\nENDBLK\n  5\n17\n  8\n0\n  0\nBLOCK\n"
           "  5\n18\n 67\n1\n  8\n0\n  2\n$PAPER_SPACE\n 70\n0\n 10\n0.0\n"
           " 20\n0.0\n 30\n0.0\n  3\n$PAPER_SPACE\n  1\n\n  0\nENDBLK\n  5\n19\n"
           " 67\n1\n  8\n0\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
           "  0\nENDSEC\n  0\nEOF\n";
}

}  // namespace drawing
