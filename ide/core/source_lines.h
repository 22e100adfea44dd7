// Recognisers for single lines of a VB6 source file, as ParseSource and RenderSource need them.
//
// Lines hold no line end. They are Windows-1252 bytes or UTF-8 text: the recognisers look only at
// ASCII keywords and treat every byte from 0x80 up as a name character, so both read alike.
// Keywords compare without regard to case, as VB reads them.
#pragma once

#include <string>
#include <string_view>

namespace ide::source_lines {

// Whether the first word of the line (after blanks) is `word`.
bool FirstWordIs(std::string_view line, std::string_view word);
// Only blanks and tabs, or nothing.
bool IsBlankLine(std::string_view line);

// "VERSION 5.00" or "VERSION 1.0 CLASS", the first line of a class, form or user control.
bool IsVersionLine(std::string_view line);
// "Begin ..." or "BeginProperty ...", and "End" or "EndProperty" standing alone: the bounds of the
// nested blocks of designer text ("End If" closes none).
bool OpensBlock(std::string_view line);
bool ClosesBlock(std::string_view line);
// A property line of designer text: `NAME = VALUE`, NAME of name characters, dots and
// parentheses (`Caption = "OK"`, `Tab(0).ControlCount = 1`, `_ExtentX = 2646`).
bool IsDesignerProperty(std::string_view line);
// "Object = ..." or "Reference = ..." before a form's designer block.
bool IsHeaderAssignment(std::string_view line);

// `Attribute NAME = VALUE`.
bool IsAttributeLine(std::string_view line);
// The member a member attribute belongs to (`Item` of `Item.VB_UserMemId`), in UTF-8; empty for
// an attribute of the module itself.
std::string AttributeMember(std::string_view line);
// The value of `Attribute VB_Name = "Form1"`, in UTF-8; empty for any other line.
std::string VbNameValue(std::string_view line);

// The name a code line declares: a procedure, property, event, constant, type, enum, API
// declaration or variable (the first of a list). Empty when the line declares nothing.
std::string DeclaredName(std::string_view line);
// A line ending in " _" goes on in the next line.
bool IsContinued(std::string_view line);

}  // namespace ide::source_lines
