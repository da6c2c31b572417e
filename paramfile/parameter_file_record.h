// Every value a save reads from the window, named after the control that holds it, so
// that the file can be written (and tested) without a window.
#pragma once

#include "test_catalogue.h"

#include <string>
#include <vector>

namespace zentrope {

// Edits and label captions are kept as raw texts: the writer converts the integer ones and
// refuses the save when one is not a whole decimal integer. Spinners hold their position,
// check boxes and radio buttons whether they are checked, combo boxes their selected index
// (-1 when nothing is selected).
struct ParameterFileRecord {
    // General page
    std::string Editn;
    int CBnUM = 0; // index into SizeUnitList
    std::string EditNT;
    int CBsaveFormat = 0;
    int UDpvalDGT = 0;
    bool cbAutoN = false;
    bool cbShowPvals = false;
    bool cbOTnumber = false;
    bool RBpriIdle = false;
    bool cbSortKS = false;
    bool cbSortAD = false;
    bool cbSortSL = false;
    std::string EditKSmin;
    std::string EditADmin;
    std::string EditSLmax;
    std::string EditInFile;
    std::string EditOutFile;

    // Parameters page: the TestIds carried by the items of LBorder, first item first.
    std::vector<TestId> LBorder;

    // [AMLS]: the label captions, not the spinners, hold the values.
    std::string LabAMLSmin;
    std::string LabAMLSmax;
    std::string LabAMLSstp;
    // [Collision]
    int uCOLLsmin = 0;
    int uCOLLsmax = 0;
    std::string eCOLLsstp;
    // [Coupon collector]
    int uCOUmin = 0;
    int uCOUmax = 0;
    std::string eCOUstp;
    // [DFT]
    std::string eDFTmax;
    int CBdftMax = 0; // index into SizeUnitList
    std::string eDFToptimize;
    int CBdftOptimize = 0; // index into SizeUnitList
    std::string eDFTdmin;
    std::string eDFTdmax;
    std::string eDFTdstp;
    bool cbDFTm0 = false;
    bool cbDFTm1 = false;
    // [Long blocks]
    std::string eLBLKmin;
    std::string eLBLKmax;
    std::string eLBLKstp;
    // [Maurer]
    int uMAUmin = 0;
    int uMAUmax = 0;
    std::string eMAUstp;
    std::string eMAU_n;
    // [Non overlapping template matchings]
    std::string eNOTMmin;
    std::string eNOTMmax;
    std::string eNOTMstp;
    std::string eNOTMtemp;
    // [Permutation]
    std::string ePERMsmin;
    std::string ePERMsmax;
    std::string ePERMsstp;
    int uPERMtmin = 0;
    int uPERMtmax = 0;
    std::string ePERMtstp;
    // [Rank 6x8]
    int uRNKmin = 0;
    int uRNKmax = 0;
    std::string eRNKstp;
    // [Runs]
    int uRUNsmin = 0;
    int uRUNsmax = 0;
    std::string eRUNsstp;
    int uRUNrmin = 0;
    int uRUNrmax = 0;
    std::string eRUNrstp;
    // [Serial]
    std::string eSERmin;
    std::string eSERmax;
    std::string eSERstp;
    // [Short blocks]
    std::string eSBLKsmin;
    std::string eSBLKsmax;
    std::string eSBLKsstp;
    std::string eSBLKdmin;
    std::string eSBLKdmax;
    std::string eSBLKdstp;
    // [Windowed autocorrelation]
    std::string eAUTWdmin;
    std::string eAUTWdmax;
    std::string eAUTWdstp;
    std::string eAUTWmmin;
    std::string eAUTWmmax;
    std::string eAUTWmstp;
};

} // namespace zentrope
