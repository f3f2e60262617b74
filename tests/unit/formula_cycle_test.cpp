// The formula cycle on a recording window: acceptance, parameters, results
// and every message a user can meet on the way.
#include <gtest/gtest.h>

#include <string>

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "tests/support/formula_cycle_reset.h"

namespace {

class FormulaCycle : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFormulaCycle();
    Language = 2;
  }
  // Types values into the shown fields and presses "Resultado".
  void Compute(std::initializer_list<const char*> values) {
    int id = IDC_PARAM_EDIT1;
    for (const char* v : values) w.Type(id++, v);
    ComputeButton(w);
  }
  HeadlessFormulaWindow w;
};

TEST_F(FormulaCycle, FormulaWithoutParametersShowsItsResultAtOnce) {
  w.TypeFormulaAndOk("2+3");
  EXPECT_EQ(w.texts[IDC_RESULT1], "5");
  EXPECT_FALSE(w.Visible(IDC_PARAM_EDIT1));
  EXPECT_EQ(ParamCount, 0);
  EXPECT_EQ(w.texts[IDC_NAME_LABEL], "f=");
  EXPECT_EQ(w.texts[IDC_RESULT1_LABEL], "f=");
  EXPECT_TRUE(w.menuEnabled[IDM_SAVE]);
  EXPECT_TRUE(w.messages.empty());
}

TEST_F(FormulaCycle, ParametersInOrderOfAppearanceWithTheirLastValues) {
  w.TypeFormulaAndOk("a*x+b");
  EXPECT_EQ(ParamNames, "axb");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(w.Visible(IDC_PARAM_EDIT1 + i));
    EXPECT_TRUE(w.Visible(IDC_PARAM_LABEL1 + i));
    EXPECT_EQ(w.texts[IDC_PARAM_EDIT1 + i], "0");
  }
  EXPECT_EQ(w.texts[IDC_PARAM_LABEL1], "a");
  EXPECT_EQ(w.texts[IDC_PARAM_LABEL1 + 2], "b");
  EXPECT_FALSE(w.Visible(IDC_PARAM_EDIT1 + 3));
  EXPECT_EQ(w.focus, IDC_PARAM_EDIT1);
  Compute({"2", "3", "1"});
  EXPECT_EQ(w.texts[IDC_RESULT1], "7");
  // A new formula shows the previous values, position by position.
  w.TypeFormulaAndOk("y-z");
  EXPECT_EQ(w.texts[IDC_PARAM_EDIT1], "2");
  EXPECT_EQ(w.texts[IDC_PARAM_EDIT1 + 1], "3");
}

TEST_F(FormulaCycle, TwoSidedFormulaSharesItsParameters) {
  w.TypeFormulaAndOk("x^2=2*x+1");
  EXPECT_EQ(w.texts[IDC_NAME_LABEL], "f1,f2:");
  EXPECT_EQ(w.texts[IDC_RESULT1_LABEL], "f1=");
  EXPECT_EQ(w.texts[IDC_RESULT2_LABEL], "f2=");
  EXPECT_TRUE(w.Visible(IDC_RESULT2));
  EXPECT_TRUE(w.Visible(IDC_RESULT2_LABEL));
  EXPECT_EQ(ParamCount, 1);
  Compute({"3"});
  EXPECT_EQ(w.texts[IDC_RESULT1], "9");
  EXPECT_EQ(w.texts[IDC_RESULT2], "7");
  w.TypeFormulaAndOk("2");
  EXPECT_FALSE(w.Visible(IDC_RESULT2));
  EXPECT_FALSE(w.Visible(IDC_RESULT2_LABEL));
  EXPECT_EQ(w.texts[IDC_NAME_LABEL], "f=");
}

TEST_F(FormulaCycle, LettersAreCaseSensitive) {
  w.TypeFormulaAndOk("x+X");
  EXPECT_EQ(ParamNames, "xX");
  Compute({"1", "10"});
  EXPECT_EQ(w.texts[IDC_RESULT1], "11");
}

TEST_F(FormulaCycle, ValuesAreWrittenIntoTheText) {
  struct Case {
    const char* formula;
    std::initializer_list<const char*> values;
    const char* result;
  } cases[] = {
      {"2*x", {"-3"}, "-6"},        // put in as 2*(-3)
      {"x^2", {"-3"}, "9"},         // (-3)^2, not -(3^2)
      {"2*x", {""}, "0"},           // an empty field reads as 0
      {"x*2", {"5 "}, "10"},        // blanks around a number do not spoil the text
      {"x!", {"  "}, "1"},
      {"x*y", {"1E3", "2"}, "2000"},  // the exponent's E is no parameter
      {"x+1", {"0.1"}, "1.10000000000000009"},  // 17 places of the double nearest 1.1
  };
  for (const auto& c : cases) {
    w.TypeFormulaAndOk(c.formula);
    Compute(c.values);
    EXPECT_EQ(w.texts[IDC_RESULT1], c.result) << c.formula;
    EXPECT_TRUE(w.messages.empty()) << c.formula;
  }
  EXPECT_EQ(w.texts[IDC_PARAM_EDIT1], "0.1");  // shown as typed
}

TEST_F(FormulaCycle, WrongValueKeepsThePreviousOne) {
  w.TypeFormulaAndOk("x+1");
  Compute({"4"});
  EXPECT_EQ(w.texts[IDC_RESULT1], "5");
  Compute({"abc"});
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_EQ(w.messages[0].caption, "error: par\xE1metro x");
  EXPECT_EQ(w.messages[0].text, "no es un n\xFAmero real");
  EXPECT_EQ(w.texts[IDC_RESULT1], "5");  // computed again with x = 4
  EXPECT_EQ(ParamValues[1], "4");
}

TEST_F(FormulaCycle, EnterChainStoresValuesAndComputesAfterTheLast) {
  w.TypeFormulaAndOk("a*x+b");
  w.Type(IDC_PARAM_EDIT1, "2");
  EnterOutsideFormula(w);
  EXPECT_EQ(w.focus, IDC_PARAM_EDIT1 + 1);
  EXPECT_EQ(ParamValues[1], "2");
  w.Type(IDC_PARAM_EDIT1 + 1, "3");
  EnterOutsideFormula(w);
  EXPECT_EQ(w.focus, IDC_PARAM_EDIT1 + 2);
  EXPECT_TRUE(w.texts[IDC_RESULT1].empty());
  w.Type(IDC_PARAM_EDIT1 + 2, "1");
  EnterOutsideFormula(w);
  EXPECT_EQ(w.texts[IDC_RESULT1], "7");
  // Enter with the focus outside the fields does nothing.
  w.focus = IDC_COMPUTE;
  w.texts[IDC_RESULT1] = "";
  EnterOutsideFormula(w);
  EXPECT_TRUE(w.texts[IDC_RESULT1].empty());
}

TEST_F(FormulaCycle, EnterWithAWrongLastValueComputesWithThePreviousOne) {
  w.TypeFormulaAndOk("2*x");
  w.Type(IDC_PARAM_EDIT1, "abc");
  EnterOutsideFormula(w);
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_EQ(w.texts[IDC_RESULT1], "0");  // x still 0, not "abc" put into the text
}

TEST_F(FormulaCycle, MathErrorLeavesItsResultAndGoesOn) {
  w.TypeFormulaAndOk("1/x=x+1");
  Compute({"2"});
  EXPECT_EQ(w.texts[IDC_RESULT1], "0.5");
  Compute({"0"});
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_EQ(w.messages[0].caption, "*Error*");
  EXPECT_EQ(w.messages[0].text, "Divisi\xF3n por cero");
  EXPECT_EQ(w.messages[0].style, 0x30);
  EXPECT_EQ(w.texts[IDC_RESULT1], "0.5");
  EXPECT_EQ(w.texts[IDC_RESULT2], "1");
}

TEST_F(FormulaCycle, RefusedFormulas) {
  struct Case {
    const char* formula;
    const char* caption;  // nullptr: refused without a message
    const char* text;
  } cases[] = {
      {"x=", nullptr, nullptr},
      {"=x", nullptr, nullptr},
      {"   ", nullptr, nullptr},
      {"2x", "Error: Falta operador", "2?x"},
      {"a+b+c+d+g", "demasiados par\xE1metros", "hom admite hasta 4 par\xE1metros"},
      {"a+b+c=d+g", "demasiados par\xE1metros", "hom admite hasta 4 par\xE1metros"},
      {"1+2=3*", "Error: Falta operando", "3* ?"},
  };
  for (const auto& c : cases) {
    w.messages.clear();
    w.texts[IDC_RESULT1] = "old";
    w.TypeFormulaAndOk(c.formula);
    if (c.caption == nullptr) {
      EXPECT_TRUE(w.messages.empty()) << c.formula;
    } else {
      ASSERT_EQ(w.messages.size(), 1u) << c.formula;
      EXPECT_EQ(w.messages[0].caption, c.caption);
      EXPECT_EQ(w.messages[0].text, c.text);
    }
    EXPECT_EQ(ParamCount, 0) << c.formula;
    EXPECT_FALSE(w.Visible(IDC_PARAM_EDIT1)) << c.formula;
    EXPECT_EQ(w.texts[IDC_RESULT1], "old") << c.formula;
  }
}

TEST_F(FormulaCycle, FormulaTextIsCutAt40) {
  w.TypeFormulaAndOk("12345678901234567890123456789012345678901");
  EXPECT_EQ(CurrentFormula.Expression, "1234567890123456789012345678901234567890");
  EXPECT_EQ(w.texts[IDC_RESULT1], "1.23456789012346E+39");
  w.TypeFormulaAndOk("1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1");  // cut after a "+"
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_EQ(w.messages[0].caption, "Error: Falta operando");
}

TEST_F(FormulaCycle, EditingHidesTheFieldsAndNewEmptiesTheWindow) {
  w.TypeFormulaAndOk("a*x");
  w.texts[IDC_RESULT1] = "12";
  w.Type(IDC_FORMULA, "a*x+");
  EXPECT_EQ(ParamCount, 0);
  EXPECT_FALSE(w.Visible(IDC_PARAM_EDIT1));
  EXPECT_EQ(w.focus, IDC_FORMULA);
  EXPECT_EQ(w.texts[IDC_RESULT1], "12");  // results stay
  w.texts[IDC_COMMENT] = "a comment";
  LoadFormula(w, DefaultFormula);
  EXPECT_EQ(w.texts[IDC_FORMULA], "");
  EXPECT_EQ(w.texts[IDC_COMMENT], "");
  EXPECT_EQ(w.texts[IDC_RESULT1], "");
  EXPECT_EQ(w.texts[IDC_RESULT2], "");
  EXPECT_EQ(w.texts[IDC_NAME_LABEL], "f=");
  EXPECT_EQ(w.texts[IDC_RESULT1_LABEL], "f=");
}

TEST_F(FormulaCycle, LoadedFormulaKeepsNameAndComment) {
  FormulaRecord r{"v", "d/t", "velocidad media"};
  LoadFormula(w, r);
  EXPECT_EQ(w.texts[IDC_NAME_LABEL], "v=");
  EXPECT_EQ(w.texts[IDC_COMMENT], "velocidad media");
  EXPECT_EQ(ParamNames, "dt");
  EXPECT_EQ(w.focus, IDC_PARAM_EDIT1);  // shown after the edit hid them
  EXPECT_TRUE(w.Visible(IDC_PARAM_EDIT1 + 1));
  CurrentFormula = r;
  LoadFormula(w, CurrentFormula);  // loading the record the cycle itself owns
  EXPECT_EQ(w.texts[IDC_FORMULA], "d/t");
}

TEST_F(FormulaCycle, ResultButtonComputesTheFormulaOnTheScreen) {
  w.Type(IDC_FORMULA, "2+3");
  ComputeButton(w);
  EXPECT_EQ(w.texts[IDC_RESULT1], "5");
  w.Type(IDC_FORMULA, "x*4");
  ComputeButton(w);
  EXPECT_TRUE(w.Visible(IDC_PARAM_EDIT1));
  EXPECT_EQ(w.texts[IDC_RESULT1], "0");
  EXPECT_TRUE(w.messages.empty());
}

TEST(SubstParam, ReplacesEveryOccurrenceExactly) {
  EXPECT_EQ(SubstParam('x', "2", "x*x+X"), "2*2+X");
  EXPECT_EQ(SubstParam('x', "-2", "x^2"), "(-2)^2");
  EXPECT_EQ(SubstParam('x', "1E5", "3*x"), "3*1E5");
  // Never cut: 40 values of 9 characters make 360, a long negative one keeps its ")".
  EXPECT_EQ(SubstParam('x', "123456789", std::string(40, 'x')).size(), 360u);
  const std::string negative = "-" + std::string(253, '1');
  EXPECT_EQ(SubstParam('x', negative, "x"), "(" + negative + ")");
}

// Values put in make texts past 255 characters (each value up to 20 digits,
// a negative one in parentheses); the result is that of the whole text.
TEST_F(FormulaCycle, LongSubstitutedTextsGiveTheFormulasValue) {
  const char taylor[] = "1+x+x*x/2+x*x*x/6+x*x*x*x/24+x^5/120";
  w.TypeFormulaAndOk(taylor);
  Compute({"-1.9"});
  const ShortText shortValue = w.texts[IDC_RESULT1];
  EXPECT_NEAR(std::stod(shortValue.str()), 0.098495916666666, 1E-12);
  EXPECT_GT(SubstParam('x', "(-1.8999999999999999)", taylor).size(), 255u);
  Compute({"-1.8999999999999999"});  // the same double, written longer
  EXPECT_EQ(w.texts[IDC_RESULT1], shortValue);

  std::string sum = "a";
  double want = 1.00000000000001;
  for (int i = 1; i < 20; ++i) {
    sum += "+a";
    want += 1.00000000000001;
  }
  w.TypeFormulaAndOk(sum.c_str());
  Compute({"1.00000000000001"});
  EXPECT_EQ(w.texts[IDC_RESULT1], NumberText(want));
  EXPECT_NEAR(want, 20.0000000000002, 1E-13);
  EXPECT_TRUE(w.messages.empty());
}

TEST(ReadRealText, TrimmedNumbersOnly) {
  EXPECT_FALSE(ReadRealText("  2.5 ").error);
  EXPECT_EQ(ReadRealText("  2.5 ").value, 2.5);
  EXPECT_FALSE(ReadRealText("").error);
  EXPECT_TRUE(ReadRealText("abc").error);
  EXPECT_TRUE(ReadRealText("1,5").error);
  EXPECT_TRUE(ReadRealText("1E400").error);  // beyond the double range
  EXPECT_FALSE(ReadRealText("1E-400").error);
}

}  // namespace
