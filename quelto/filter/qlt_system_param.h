// CQLTSystemParam: the user's preferences, one getter and one setter per parameter. Getters go to the
// registry every time and answer the default when the value is missing or unreadable; setters create
// missing keys. Three machine-wide values (installation and shared folders) are read-only here.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/filter/qlt_cmd_base.h"

class CQLTSystemParam : public CQLTCmdBase {
public:
    CQLTSystemParam();
    ~CQLTSystemParam() override;

    // Start-up dialog; kept directly under the product key, not in the parameter section.
    int GetInitShow() { return ReadIntValue(L"InitShow", 1, ProductKeySubKey); }
    BOOL SetInitShow(int value) { return WriteIntValue(L"InitShow", value, ProductKeySubKey); }

    // How criteria values are read: angles in radians (1) or degrees, coordinates in the user's system (1)
    // or the world, and the precision of real comparisons.
    int GetUseRadius() { return ReadIntValue(L"UseRadius", 0); }
    BOOL SetUseRadius(int value) { return WriteIntValue(L"UseRadius", value); }
    int GetUseUserCoord() { return ReadIntValue(L"UseUserCoord", 1); }
    BOOL SetUseUserCoord(int value) { return WriteIntValue(L"UseUserCoord", value); }
    double GetEPI() { return ReadRealValue(L"EPI", 0.0001); }
    BOOL SetEPI(double value) { return WriteRealValue(L"EPI", value); }

    // The last grouping rule and preselection.
    CString GetGroupName() { return ReadTextValue(L"GroupName", CString()); }
    BOOL SetGroupName(const CString& value) { return WriteTextValue(L"GroupName", value); }
    int GetGroupOperator() { return ReadIntValue(L"GroupOperator", 0); }
    BOOL SetGroupOperator(int value) { return WriteIntValue(L"GroupOperator", value); }
    int GetSelectFromAll() { return ReadIntValue(L"SelectFromAll", 1); }
    BOOL SetSelectFromAll(int value) { return WriteIntValue(L"SelectFromAll", value); }

    // What the command does when it starts and what reading a configuration brings along.
    int GetStartTemp() { return ReadIntValue(L"StartTemp", 1); }
    BOOL SetStartTemp(int value) { return WriteIntValue(L"StartTemp", value); }
    int GetNoTempLast() { return ReadIntValue(L"NoTempLast", 1); }
    BOOL SetNoTempLast(int value) { return WriteIntValue(L"NoTempLast", value); }
    int GetReadCfgPick() { return ReadIntValue(L"ReadCfgPick", 1); }
    BOOL SetReadCfgPick(int value) { return WriteIntValue(L"ReadCfgPick", value); }
    int GetReadCfgCommand() { return ReadIntValue(L"ReadCfgCommand", 1); }
    BOOL SetReadCfgCommand(int value) { return WriteIntValue(L"ReadCfgCommand", value); }
    int GetReadCfgGroup() { return ReadIntValue(L"ReadCfgGroup", 1); }
    BOOL SetReadCfgGroup(int value) { return WriteIntValue(L"ReadCfgGroup", value); }
    int GetPickOperator() { return ReadIntValue(L"PickOperator", 1); }
    BOOL SetPickOperator(int value) { return WriteIntValue(L"PickOperator", value); }
    int GetLastGroupOperator() { return ReadIntValue(L"LastGroupOperator", 1); }
    BOOL SetLastGroupOperator(int value) { return WriteIntValue(L"LastGroupOperator", value); }
    int GetStartPage() { return ReadIntValue(L"StartPage", 0); }
    BOOL SetStartPage(int value) { return WriteIntValue(L"StartPage", value); }

    // Context-menu entries when nothing, or something, is selected.
    int GetAcadNullMenu() { return ReadIntValue(L"AcadNullMenu", 1); }
    BOOL SetAcadNullMenu(int value) { return WriteIntValue(L"AcadNullMenu", value); }
    int GetAcadObjectMenu() { return ReadIntValue(L"AcadObjectMenu", 1); }
    BOOL SetAcadObjectMenu(int value) { return WriteIntValue(L"AcadObjectMenu", value); }

    // The post-selection command and its parameters, the same fifteen values as in a configuration record.
    int GetHasCmd() { return ReadIntValue(L"HasCmd", 0); }
    BOOL SetHasCmd(int value) { return WriteIntValue(L"HasCmd", value); }
    int GetHasPrompt() { return ReadIntValue(L"HasPrompt", 1); }
    BOOL SetHasPrompt(int value) { return WriteIntValue(L"HasPrompt", value); }
    int GetDoType() { return ReadIntValue(L"DoType", 1); }
    BOOL SetDoType(int value) { return WriteIntValue(L"DoType", value); }
    int GetPosIndex() { return ReadIntValue(L"PosIndex", 4); }
    BOOL SetPosIndex(int value) { return WriteIntValue(L"PosIndex", value); }
    int GetHasOffset() { return ReadIntValue(L"HasOffset", 0); }
    BOOL SetHasOffset(int value) { return WriteIntValue(L"HasOffset", value); }
    int GetXUnit() { return ReadIntValue(L"XUnit", 0); }
    BOOL SetXUnit(int value) { return WriteIntValue(L"XUnit", value); }
    int GetYUnit() { return ReadIntValue(L"YUnit", 0); }
    BOOL SetYUnit(int value) { return WriteIntValue(L"YUnit", value); }
    double GetXOffset() { return ReadRealValue(L"XOffset", 0.0); }
    BOOL SetXOffset(double value) { return WriteRealValue(L"XOffset", value); }
    double GetYOffset() { return ReadRealValue(L"YOffset", 0.0); }
    BOOL SetYOffset(double value) { return WriteRealValue(L"YOffset", value); }
    double GetMoveX() { return ReadRealValue(L"MoveX", 0.0); }
    BOOL SetMoveX(double value) { return WriteRealValue(L"MoveX", value); }
    double GetMoveY() { return ReadRealValue(L"MoveY", 0.0); }
    BOOL SetMoveY(double value) { return WriteRealValue(L"MoveY", value); }
    double GetMoveZ() { return ReadRealValue(L"MoveZ", 0.0); }
    BOOL SetMoveZ(double value) { return WriteRealValue(L"MoveZ", value); }
    double GetScaleA() { return ReadRealValue(L"ScaleA", 1.0); }
    BOOL SetScaleA(double value) { return WriteRealValue(L"ScaleA", value); }
    double GetRoateA() { return ReadRealValue(L"RoateA", 0.0); }
    BOOL SetRoateA(double value) { return WriteRealValue(L"RoateA", value); }
    double GetAxiusA() { return ReadRealValue(L"AxiusA", 0.0); }
    BOOL SetAxiusA(double value) { return WriteRealValue(L"AxiusA", value); }

    // Custom entities of other applications: load their definitions; show the software name first.
    int GetHasFreedom() { return ReadIntValue(L"HasFreedom", 1); }
    BOOL SetHasFreedom(int value) { return WriteIntValue(L"HasFreedom", value); }
    int GetHasEntSoft() { return ReadIntValue(L"HasEntSoft", 1); }
    BOOL SetHasEntSoft(int value) { return WriteIntValue(L"HasEntSoft", value); }

    // Machine-wide values under "SOFTWARE\翠岭轩工作室\翠岭轩快速选择系统" of the local machine.
    // The installation folder; FALSE with an empty text when it cannot be read.
    BOOL GetLocation(CString& location);
    // The shared data folder; by default "Tarnwell/Quelto" in the common application-data folder.
    CString GetCommonData();
    // The maker's shared files; by default "Tarnwell Share" in the common program-files folder.
    CString GetCommonFile();

private:
    BOOL ReadMachineText(const wchar_t* name, CString& text);
};
