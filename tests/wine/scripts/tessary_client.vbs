' Tessary.dll from VBScript: CreateObject, Load, For Each, default members, Err.
' Argument 0: the data folder (run.sh has made demo.d64 there and the C++ client three.d64).
Option Explicit
Dim passed, failed, folder
passed = 0
failed = 0
folder = WScript.Arguments(0) & "\"

Sub Check(ok, what)
  If ok Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

Dim d64, entries, entry, names, n
Set d64 = CreateObject("Tessary.hvD64")
Check d64.Load(folder & "three.d64") = True, "Load three.d64"
Check d64.Load(folder & "missing.d64") = False, "Load of a missing file is False"
Set entries = d64.Entries
Check entries.Count = 3, "Count"
Check TypeName(entries.Count) = "Integer", "Count is an Integer"
names = ""
For Each entry In entries
  names = names & entry.Filename & ","
Next
Check names = "ONE,TWO,THREE,", "For Each in order: " & names
Check entries(2).Filename = "TWO", "default member"
Check d64.Entries(3).FileSizeInBlocks = "    3", "obj.Entries(i)"
Check entries.Entry(1).FileType = "PRG", "Entry by name"
Check entries(1) Is d64.Entries(1), "entries(1) Is d64.Entries(1)"
For Each entry In entries
  Exit For
Next
Check entry Is entries(1), "the first enumerated item Is entries(1)"

On Error Resume Next
Set entry = entries(4)
Check Err.Number = 9, "bad index number " & Err.Number
Check Err.Description = "Subscript out of range", "bad index text " & Err.Description
Check Err.Source = "Tessary.hvD64Entries", "bad index source " & Err.Source
Err.Clear
Set entry = entries(0)
Check Err.Number = 9, "index 0"
Err.Clear
On Error GoTo 0

Dim t64, tentries, key
Set t64 = CreateObject("Tessary.hvT64")
Check t64.Load(folder & "header.t64"), "Load header.t64"
Check t64.Version = "$0101", "Version"
Check t64.EntriesCount = 30, "EntriesCount"
Check TypeName(t64.EntriesCount) = "Long", "EntriesCount is a Long"
Set tentries = t64.Entries
Check tentries(1).C64Filename = "ONE", "T64 default member"
n = 0
For Each entry In tentries
  n = n + 1
Next
Check n = 3, "T64 For Each"
key = "ONE"
On Error Resume Next
Set entry = tentries(key)
Check Err.Number = 5, "text index " & Err.Number
Err.Clear
On Error GoTo 0

Dim prg
Set prg = CreateObject("Tessary.hvPRG")
Check prg.Load(folder & "c000.prg"), "PRG Load"
Check prg.LoadAddress = "$C000", "LoadAddress"
Check prg.SYSAddress = "(SYS 49152)", "SYSAddress"

' An entry kept after everything else is let go.
Set entry = entries(1)
Set entries = Nothing
Set d64 = Nothing
Check entry.Filename = "ONE", "entry outlives its reader"

WScript.Echo "CHECKS " & passed & " " & failed & " 0"
WScript.Quit failed
