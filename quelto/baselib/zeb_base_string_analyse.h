// CZEBBaseStringAnalyse: the formula-language analyser of the base library. The parse phase rewrites the
// input text, replacing every understood sub-expression by a generated record name; the evaluation phase
// computes the last record depth first. Function calls are evaluated by the built-in function library
// (GetFunValue), which a derived analyser can extend or override through GetExtendFunValue.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"
#include "quelto/baselib/zeb_operate_var.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace quelto::baselib {
class OperatorSet;
}

class QUELTO_EXPORT CZEBBaseStringAnalyse {
public:
    // Result codes of DoAnalyse and of the steps.
    enum : int {
        ResultSuccess = 0,
        ResultEmptyInput = 1,
        ResultUnknownFunction = 2,
        ResultArgumentCount = 3,
        ResultArgumentValue = 4,
        ResultBracket = 5,
        ResultVariable = 6,
        ResultQuote = 7,
        ResultOperand = 8,
        ResultConstant = 9,
        ResultOperator = 10,
        ResultNothing = 99
    };

    CZEBBaseStringAnalyse();
    virtual ~CZEBBaseStringAnalyse();
    CZEBBaseStringAnalyse(const CZEBBaseStringAnalyse&) = delete;
    CZEBBaseStringAnalyse& operator=(const CZEBBaseStringAnalyse&) = delete;

    void InitParam(int clearVariables);
    void SetInputString(const CString& input);
    CString GetInputString() const;
    BOOL InputStringIsEmpty() const;
    int DoAnalyse();
    CString GetOutputString() const;
    int GetOutputType() const;
    CString GetAnalyseErrorInfo() const;
    void SetShowErrorInfo(int show);
    int GetShowErrorInfo() const;
    void SetMessageWnd(const HWND& window);
    HWND GetMessageWnd() const;
    void SetErrorTitle(const CString& title);
    CString GetErrorTitle() const;
    void ShowLastError();

    static CString GetDoubleString(double value, int precision);

    CArray<CZEBOperateVar> m_arrOperate;  // records of the current analysis
    CArray<CZEBOperateVar> m_arrVariable; // the caller's variables, copied to the front of m_arrOperate

protected:
    // Extension hook, asked first for every call; 2 means "not mine".
    virtual int GetExtendFunValue(CZEBOperateVar& record);

    int DoWithSpace(CString& text);
    int DoWithBracket(CString& text);
    void GetStringMark(int& first, int& last, const CString& text, int start, int end);
    int CalChildString(CString& text);
    int GetMinChildString(int& left, int& right, const CString& text, int position);
    int AddToVarList(const CString& operand);
    int AddOperate(CString& name, wchar_t operatorCode, const CString& left, const CString& right);
    int GetFunValue(CString& name, const CString& functionName, const CString& argumentText);
    int AddFunValue(CString& name, const CString& functionName, const CStringArray& arguments);
    int DoWithAllFun();
    int FinishFun(CZEBOperateVar& record);
    int DoOperate(CZEBOperateVar& record);
    int GetFunValue(CZEBOperateVar& record);
    BOOL CheckParamSize(const CString& functionName, int given, int required);
    BOOL CheckConst(const CString& text);
    BOOL IsOperateCode(wchar_t character);
    int GetCalIndex(int first, int second, int third, int fourth);
    CString GetNewOperateName();
    void ReplaceString(CString& text, int first, int last, const CString& replacement);
    void SetLastErrorInfo(const CString& message);
    int GetDValue(double& value, int index);
    int GetIValue(int& value, int index);
    int GetOValue(int& value, int index);
    CString GetSValue(int index);

private:
    // The built-in function families live in their own files and reach the analyser through this.
    friend struct CZEBFunctionAccess;
    // FinishFun's walk over the record tree, in the evaluation file.
    class RecordTreeWalk;

    CString Base_GetFileName(const CString& path);
    CString Base_GetFilePath(const CString& path);
    CString Base_GetPathName(const CString& path);
    CString Base_GetFileTitle(const CString& path);
    CString Base_GetFileExt(const CString& path);
    long Base_GetFileTimeC(const CString& path);
    long Base_GetFileTimeM(const CString& path);
    long Base_GetFileTimeA(const CString& path);
    unsigned long Base_GetFileSize(const CString& path);
    int Base_GetFileLineCount(const CString& path);
    CString Base_GetFileLineString(const CString& path, int lineNumber);
    int Base_GetStringCount(const CString& text);
    CString Base_GetStringIndex(const CString& text, int index);
    int Base_fact(int number);

    // One precedence pass of CalChildString: every operator of `operators` outside literals, leftmost
    // first, is turned into a record while the text streams through once.
    int ReduceOperatorPass(CString& text, const quelto::baselib::OperatorSet& operators);
    // AddOperate without handing out a copy of the name: the new record's index, or -1 (code 6).
    int AppendOperator(wchar_t operatorCode, const CString& left, const CString& right);
    // The first record of the list with exactly this name, or -1.
    int FindRecordByName(const CString& name);
    void ResetNameIndex();

    CString m_strInput;
    CString m_strOutput;
    int m_nOutputType = 0;
    CString m_strLastError;
    BOOL m_bShowError = FALSE;
    HWND m_hMessageWnd = nullptr;
    CString m_strErrorTitle;

    // Name lookup of the record list. Generated names are found by the number they carry; every other
    // name (the caller's variables) is listed here, in a map once there are many of them.
    std::vector<int> m_arrNamedRecords;
    std::unordered_map<CString, int> m_mapRecordNames;
    std::size_t m_nIndexedRecords = 0;
    // Characters produced by "&" in the current analysis, held against a limit.
    std::size_t m_nConcatenatedChars = 0;
};
