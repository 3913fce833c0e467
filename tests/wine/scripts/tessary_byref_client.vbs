' Tessary.dll's by-reference members from VBScript, with the script's own variables.
' Argument 0: the data folder (run.sh made extract\*.zip there, the C++ client header.t64).
Option Explicit
Dim passed, failed, fso, data, folder
passed = 0
failed = 0
Set fso = CreateObject("Scripting.FileSystemObject")
data = WScript.Arguments(0)
folder = data & "\tessary-vbs"
If Not fso.FolderExists(folder) Then fso.CreateFolder folder

Sub Check(ok, what)
  If ok Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

' ---- hvExtract: the game file and the failure text come back in the script's variables ----
Dim x, work, gameFile, failInfo, found, rule
Set x = CreateObject("Tessary.hvExtract")
work = folder & "\work"
found = x.Extract("C:\Zenvora", data & "\extract\one_t64.zip", "", work, gameFile, failInfo, "", "")
Check found = True, "Extract of one_t64.zip"
Check gameFile = work & "\ReZip\game.t64", "ReturnFilename: " & gameFile
Check failInfo = "" And TypeName(failInfo) = "String", "ReturnFailInfo: " & failInfo
Check fso.FileExists(gameFile), "the game file is there"

gameFile = "keep" : failInfo = "keep"
found = x.Extract("C:\Zenvora", data & "\extract\toobig.zip", "", work, gameFile, failInfo, "", "", 0)
rule = String(32, "-")
Check found = False, "Extract of toobig.zip"
Check gameFile = "", "no game file: " & gameFile
Check failInfo = "This archive file is not compatible with Zenvora or Tirrel." & vbCrLf & rule & _
      vbCrLf & "huge.bin" & vbCrLf & rule, "ReturnFailInfo names the file: " & failInfo

gameFile = "name in" : failInfo = "info in"
On Error Resume Next
found = x.Extract("C:\Zenvora", data & "\extract\no such.zip", "", work, gameFile, failInfo, "", "")
Check Err.Number <> 0 And Err.Source = "Tessary.hvExtract", "a missing archive raises: " & Err.Number
Err.Clear
On Error GoTo 0
Check gameFile = "name in" And failInfo = "info in", "after an error the variables keep their values"

' ---- hvT64Entries: Remove takes its index by reference, Entry a variant index ----
Dim t64, entries, index, entry
Set t64 = CreateObject("Tessary.hvT64")
Check t64.Load(data & "\header.t64"), "Load header.t64"
Set entries = t64.Entries
index = 2
Set entry = entries.Entry(index)
Check entry.C64Filename = entries(2).C64Filename, "Entry with a variable index"
Dim second, third
second = entries(2).C64Filename
third = entries(3).C64Filename
index = 1
entries.Remove index
Check entries.Count = 2, "Remove 1 leaves two: " & entries.Count
Check entries(1).C64Filename = second And entries(2).C64Filename = third, "the others move up"
Check index = 1 And TypeName(index) = "Integer", "the index, only read, keeps its variant"
index = "2"
entries.Remove index
Check entries.Count = 1 And entries(1).C64Filename = second, "Remove with a text index of a number"
Check TypeName(index) = "String", "a text index stays a String"
On Error Resume Next
index = 5
entries.Remove index
Check Err.Number = 9, "Remove out of range: " & Err.Number
Err.Clear
index = "x"
entries.Remove index
Check Err.Number = 13, "Remove with a text: " & Err.Number
Err.Clear
On Error GoTo 0
Check entries.Count = 1, "failed removes change nothing"

WScript.Echo "CHECKS " & passed & " " & failed & " 0"
WScript.Quit failed
