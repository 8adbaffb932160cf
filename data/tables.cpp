#include "data/tables.h"

#include <cstdio>

#include "quillmar/texts.h"

const char* const kStatLabels[kStatCount] = {"H", "A", "B", "S", "C", "D"};

const char* const kNatureNames[kNatureCount] = {
    texts::kTextNature0,  texts::kTextNature1,  texts::kTextNature2,  texts::kTextNature3,  texts::kTextNature4,
    texts::kTextNature5,  texts::kTextNature6,  texts::kTextNature7,  texts::kTextNature8,  texts::kTextNature9,
    texts::kTextNature10, texts::kTextNature11, texts::kTextNature12, texts::kTextNature13, texts::kTextNature14,
    texts::kTextNature15, texts::kTextNature16, texts::kTextNature17, texts::kTextNature18, texts::kTextNature19,
    texts::kTextNature20, texts::kTextNature21, texts::kTextNature22, texts::kTextNature23, texts::kTextNature24,
};

const char* const kHiddenPowerTypeNames[16] = {
    texts::kTextHiddenPower0,  texts::kTextHiddenPower1,  texts::kTextHiddenPower2,  texts::kTextHiddenPower3,
    texts::kTextHiddenPower4,  texts::kTextHiddenPower5,  texts::kTextHiddenPower6,  texts::kTextHiddenPower7,
    texts::kTextHiddenPower8,  texts::kTextHiddenPower9,  texts::kTextHiddenPower10, texts::kTextHiddenPower11,
    texts::kTextHiddenPower12, texts::kTextHiddenPower13, texts::kTextHiddenPower14, texts::kTextHiddenPower15,
};

const char* const kGenderFilterOptions[kGenderFilterOptionCount] = {
    texts::kTextNoFilter,       texts::kTextGenderOption1, texts::kTextGenderOption2,
    texts::kTextGenderOption3,  texts::kTextGenderOption4, texts::kTextGenderOption5,
    texts::kTextGenderOption6,  texts::kTextGenderOption7, texts::kTextGenderOption8,
};

const char* const kAbilityFilterOptions[kAbilityFilterOptionCount] = {
    texts::kTextNoFilter, texts::kTextAbilityOption1, texts::kTextAbilityOption2};

void buildNatureTable(NatureTable& table) {
  for (int n = 0; n < kNatureCount; ++n) {
    std::snprintf(table.rows[n].name, sizeof table.rows[n].name, "%s", kNatureNames[n]);
  }
  for (int r = 1; r <= 5; ++r) {
    for (int l = 1; l <= 5; ++l) {
      NatureInfo& row = table.rows[5 * (r - 1) + (l - 1)];
      row.raised = (r == l) ? 0 : r;
      row.lowered = (r == l) ? 0 : l;
    }
  }
}

bool GenderFilter(int t, int g) {
  switch (t) {
    case 0: return g >= 128;
    case 1: return g < 128;
    case 2: return g >= 32;
    case 3: return g < 32;
    case 4: return g >= 64;
    case 5: return g < 64;
    case 6: return g >= 192;
    case 7: return g < 192;
    default: return true;
  }
}
