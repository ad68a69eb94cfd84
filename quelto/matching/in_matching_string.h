// CINMatchingString: the text operators that need more than a plain comparison - the numbered match
// operations (order, left/right parts, wildcard with "*", containment, features) and the features,
// named character classes a whole text must belong to. Everything works on its arguments alone.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"
#include "quelto/matching/in_matching_base.h"

class QUELTO_EXPORT CINMatchingString : public CINMatchingBase {
public:
    // Operation codes of Match.
    enum : int {
        MatchEqual = 1,
        MatchNotEqual = 2,
        MatchGreater = 3,
        MatchGreaterEqual = 4,
        MatchLess = 5,
        MatchLessEqual = 6,
        MatchLeftEqual = 21,
        MatchLeftNotEqual = 22,
        MatchRightEqual = 23,
        MatchRightNotEqual = 24,
        MatchWildcard = 25,
        MatchNotWildcard = 26,
        MatchContains = 27,
        MatchNotContains = 28,
        MatchFeature = 29
    };

    // 1 when the text stands in the relation `code` to the pattern, else 0 (also for an unknown code).
    // A case argument of 0 upper-cases both texts first; for MatchFeature the case argument is the
    // feature number (1 to 12) and the texts keep their case.
    static int Match(const CString& text, const CString& pattern, int caseArgument, int code);
    // "*" stands for any run of characters, the empty run too; every other character stands for itself.
    // A case flag of 0 ignores the case of ASCII letters.
    static int Wildcard(const CString& text, const CString& pattern, int caseFlag);
    // 1 when the text belongs to the character class numbered from 1 (the empty text belongs to all).
    static int Feature(const CString& text, int featureNumber);

    // The features offered to the user: the first ten of the twelve names.
    static int GetFeatureCount();
    // The name at a 0-based index among all twelve; empty outside.
    static CString GetFeatureName(int index);
    // The 0-based index of the name among all twelve, -1 when it is none of them.
    static int GetFeatureIndex(const CString& name);
    // Appends the pieces of the text between "*" characters (k stars give k + 1 pieces, empty ones
    // included) and returns the array's new size.
    static int SplitString(const CString& text, CStringArray& pieces);
};
