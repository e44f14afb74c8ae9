#pragma once
// The hand-off between velmok and its print program: the program's name, the three files it
// reads from velmok's folder and their keys. velmok writes them, korrel reads them.
namespace velmo::handoff {

// The print program as velmok names it; findProgram also finds "korrel" beside velmok.
inline constexpr const char *PrintProgram = "Korrel.exe";

inline constexpr const char *ConfFile = "Print.conf";
inline constexpr const char *HeaderFile = "print_header.dat";
inline constexpr const char *DataFile = "print_Data.dat";

// Print.conf
inline constexpr const char *VersionKey = "[Version]";
inline constexpr const char *Version = "2.00";
inline constexpr const char *ApplicationTitleKey = "[Application_Title]";
inline constexpr const char *DataTitleKey = "[Data_Title]";
inline constexpr const char *DataTitle = "複合単価印刷";
inline constexpr const char *StyleFileKey = "[STYLE_FILE]";
inline constexpr const char *IconFileKey = "[Icon_File]";
inline constexpr const char *FileMaskKey = "[File_Mask]";
inline constexpr const char *NormalMask = "vmk";
inline constexpr const char *RefrigerantMask = "vmr";
// A price list of torvik or selvan: the mask and two more lines after the six, the headings of
// its price columns and the group of each (";"-terminated, a column without a group empty).
inline constexpr const char *PriceListMask = "vpl";
inline constexpr const char *ColumnsKey = "[Columns]";
inline constexpr const char *ColumnGroupsKey = "[Column_Groups]";

// print_header.dat: year, era and era year, month, day, day of the week, two unused values,
// the memo, the labour price of the output basis with its label, the NET labour price.
inline constexpr const char *HeaderKeys[10] = {"[ta]", "[tb]", "[tc]", "[td]", "[te]",
                                               "[tf]", "[tg]", "[th]", "[ti]", "[tj]"};

// print_Data.dat: every line holds 23 fields, each followed by ";": the three pipe names, the
// location, size, unit, adopted price, material price, seven factors, seven components, total.
inline constexpr char DataSeparator = ';';
inline constexpr int DataFields = 23;
inline constexpr int LocationField = 3; // 0-based; the three pipe names come first
inline constexpr int SizeField = 4, UnitField = 5, AdoptedField = 6, MaterialField = 7;
inline constexpr int FactorField = 8;     // the first factor
inline constexpr int ComponentField = 15; // the first component
inline constexpr int TotalField = 22;
// In a price list the fields after the unit hold the prices of its columns, so a list has at
// most 17 of them; the location field is empty.
inline constexpr int PriceListFirstPrice = 6;
inline constexpr int PriceListMaxColumns = DataFields - PriceListFirstPrice;

// The names of the seven factors and components (管, 継手 …), and those of refrigerant piping,
// where the sixth, はつり補修, has no meaning.
inline constexpr const char *PartNames[7] = {"管", "継手類", "接合材", "支持金物", "配管工", "はつり補修", "その他"};
inline constexpr const char *RefrigerantPartNames[7] = {"管", "継手接合等", "支持金物", "雑材料",
                                                        "配管工", "はつり補修", "その他"};
inline constexpr int ChippingPart = 5;

} // namespace velmo::handoff
