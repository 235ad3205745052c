#include "calc/ResultText.h"

#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"
#include "calc/RuleText.h"

namespace koruba {

namespace {

// A correction that is zero or negative is shown in parentheses, so that
// the formula never reads "+-0.5".
void AppendCorrection(std::string& out, float corr) {
    if (corr < NValueTolerance) {
        out += '(';
        AppendFixed(out, corr, 1);
        out += ')';
    } else {
        AppendFixed(out, corr, 1);
    }
}

std::string ValueText(float a) {
    std::string s;
    s.reserve(15);
    s += "= ";
    AppendFixed(s, a, 1);
    return s;
}

std::string FactorText(std::string_view name, float v) {
    std::string s;
    s.reserve(15);
    s += name;
    s += "= ";
    AppendFixed(s, v, 1);
    return s;
}

bool HasHeightFactor(RuleSet rules, std::int32_t heightCm) {
    return rules == RuleSet::Revision2025 && heightCm > kStandardHeightLimitCm;
}

void AppendFactorName(std::string& out, RuleSet rules, std::int32_t heightCm,
                      std::string_view name) {
    if (HasHeightFactor(rules, heightCm)) {
        out += name;
    }
}

} // namespace

std::string heightFactorValueText(RuleSet rules, std::int32_t heightCm) {
    if (!HasHeightFactor(rules, heightCm)) {
        return "1";
    }
    std::string s = storeyHeightText(heightCm);
    s += '/';
    AppendFixed(s, static_cast<float>(kReferenceHeightCm) / 100.0f, 1);
    return s;
}

std::string HeightFactorText(std::string_view name, RuleSet rules, std::int32_t heightCm) {
    if (!HasHeightFactor(rules, heightCm)) {
        return {};
    }
    return std::string(name) + "= " + heightFactorValueText(rules, heightCm);
}

std::string RulesLineText(const CalcConditions& c, std::int32_t storeyCount) {
    if (c.rules != RuleSet::Revision2025) {
        return {};
    }
    std::string s(ruleSetName(c.rules));
    s += "  H1 = ";
    s += storeyHeightText(c.h1Cm);
    s += 'm';
    if (storeyCount != 1) {
        s += "  H2 = ";
        s += storeyHeightText(c.h2Cm);
        s += 'm';
    }
    return s;
}

std::string ATermText(std::string_view name, float left, float right, float corr) {
    std::string s;
    s.reserve(32);
    s += name;
    s += "= |";
    AppendFixed(s, left, 1);
    s += '-';
    AppendFixed(s, right, 1);
    s += "|+";
    AppendCorrection(s, corr);
    return s;
}

std::string strengthValueText(const ResultType& r) {
    return r.JointClass == 0 ? std::string(kNoClassText) : FormatFixed(r.JointStrength, 2);
}

std::string StrengthText(const ResultType& r) {
    return "接合耐力： " + strengthValueText(r) + "(kN)";
}

std::string NLineText(const ResultType& r, std::int32_t storeyCount) {
    std::string s;
    s.reserve(64);
    s += "N = ";
    AppendFixed(s, r.A1, 1);
    s += 'x';
    AppendFixed(s, r.B1, 1);
    AppendFactorName(s, r.Rules, r.H1Cm, "xf1");
    if (storeyCount == 2) {
        s += '+';
        AppendFixed(s, r.A2, 1);
        s += 'x';
        AppendFixed(s, r.B2, 1);
        AppendFactorName(s, r.Rules, r.H2Cm, "xf2");
        s += '-';
        AppendFixed(s, r.L, 1);
        s += " = ";
    } else {
        s += '-';
        AppendFixed(s, r.L, 1);
        s += "= ";
    }
    AppendFixed(s, r.NValue, 2);
    s += "  [";
    AppendFixed(s, r.PullOut, 2);
    s += "kN]";
    return s;
}

ResultTexts MakeResultTexts(const ResultType& r, std::int32_t storeyCount) {
    ResultTexts t;
    std::string a1Term = ATermText("A1", r.WallA1Left, r.WallA1Right, r.CorrA1);
    std::string a1Value = ValueText(r.A1);
    std::string b1 = FactorText("B1", r.B1);
    std::string l = FactorText("L", r.L);
    std::size_t i = 0;
    auto put = [&](std::string_view label, std::string caption) {
        t.Captions[i++] = LabelCaption{label, std::move(caption)};
    };
    if (storeyCount == 2) {
        put("Lbl_A_12F_Siki", ATermText("A2", r.WallA2Left, r.WallA2Right, r.CorrA2));
        put("Lbl_A_12F", ValueText(r.A2));
        put("Lbl_B_12F", FactorText("B2", r.B2));
        put("Lbl_A_1F_Siki", std::move(a1Term));
        put("Lbl_A_1F", std::move(a1Value));
        put("Lbl_B_1F", std::move(b1));
        put("Lbl_L_1F", std::move(l));
        t.HiddenL = "Lbl_L_12F";
        t.ShownL = "Lbl_L_1F";
    } else {
        put("Lbl_A_12F_Siki", std::move(a1Term));
        put("Lbl_A_12F", std::move(a1Value));
        put("Lbl_B_12F", std::move(b1));
        put("Lbl_A_1F_Siki", std::string());
        put("Lbl_A_1F", std::string());
        put("Lbl_B_1F", std::string());
        put("Lbl_L_12F", std::move(l));
        t.ShownL = "Lbl_L_12F";
        t.HiddenL = "Lbl_L_1F";
    }
    put("Lbl_Nti", NLineText(r, storeyCount));
    put("Lbl_KanaKigo", std::string(r.JointSymbol));
    put("Lbl_Tairyoku", StrengthText(r));
    put("Lbl_KanaName", std::string(r.JointName));
    return t;
}

const std::string* ResultTexts::Find(std::string_view label) const {
    for (const auto& c : Captions) {
        if (c.Label == label) {
            return &c.Caption;
        }
    }
    return nullptr;
}

} // namespace koruba
