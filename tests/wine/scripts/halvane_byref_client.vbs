' Every by-reference member of Halvane.dll from VBScript, with the script's own variables.
' Argument 0: the data folder; the files used are made here.
Option Explicit
Dim passed, failed, fso, folder
passed = 0
failed = 0
Set fso = CreateObject("Scripting.FileSystemObject")
folder = WScript.Arguments(0) & "\byref-vbs"
If Not fso.FolderExists(folder) Then fso.CreateFolder folder

Sub Check(ok, what)
  If ok Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

' Bytes 0 to 255 as characters: the text file of Windows-1252 holds them one to one.
Sub WriteBytes(path, bytes)
  Dim f
  Set f = fso.CreateTextFile(path, True)
  f.Write bytes
  f.Close
End Sub
Function ReadBytes(path)
  ReadBytes = fso.OpenTextFile(path).ReadAll
End Function
Function Word(n)
  Word = Chr(n \ 256) & Chr(n Mod 256)
End Function
Function Padded(text)
  Padded = text & String(32 - Len(text), Chr(0))
End Function

Dim fn
Set fn = CreateObject("Halvane.hvFunctions")

' ---- GetFileAndPath ----
Dim p, f
fn.GetFileAndPath "C:\GAMES\A.D64", p, f
Check p = "C:\GAMES" And f = "A.D64", "GetFileAndPath: " & p & " | " & f
Check TypeName(p) = "String" And TypeName(f) = "String", "GetFileAndPath outputs are Strings"
fn.GetFileAndPath "NOSLASH.D64", p, f
Check p = "" And f = "NOSLASH.D64", "GetFileAndPath without a backslash: " & p & " | " & f
fn.GetFileAndPath "C:\GAMES\A.D64", p, p
Check p = "A.D64", "one variable for both outputs holds the file part: " & p

' ---- SID headers ----
Dim tune, text, header
tune = folder & "\tune.sid"
header = "PSID" & Word(2) & Word(&H7C) & Word(0) & Word(&H1000) & Word(&H1003) & Word(3) & _
         Word(2) & String(4, Chr(0)) & Padded("ABC") & Padded("Some Author") & Padded("1987 Co") & _
         String(6, Chr(0))
WriteBytes tune, header
text = folder & "\notes.txt"
WriteBytes text, String(200, ".")

Dim sName, sAuthor, sCopy, total, start
Check fn.GetSidInfo(tune, sName, sAuthor, sCopy, total, start) = True, "GetSidInfo"
Check sName = Padded("ABC"), "name with its NUL padding: " & Replace(sName, Chr(0), "0")
Check sAuthor = Padded("Some Author") And sCopy = Padded("1987 Co"), "author and copyright"
Check total = 3 And TypeName(total) = "Integer", "songs: " & total & " " & TypeName(total)
Check start = 2 And TypeName(start) = "Integer", "start song: " & start

sName = "keep" : total = 7
Check fn.GetSidInfo(text, sName, sAuthor, sCopy, total, start) = False, "GetSidInfo of no SID"
Check sName = "keep" And total = 7, "no SID: the variables keep their values"

total = Empty : start = Empty
Check fn.GetSidSongInfo(tune, total, start) = True, "GetSidSongInfo"
Check total = 3 And start = 2, "GetSidSongInfo outputs: " & total & " " & start

Dim song
song = "3"
Check fn.SaveDefaultSidSong(tune, song) = True, "SaveDefaultSidSong"
Check song = "3" And TypeName(song) = "String", "the song, only read, keeps its variant"
Check Mid(ReadBytes(tune), 17, 2) = Chr(0) & Chr(3), "start song stored"
fn.GetSidSongInfo tune, total, start
Check start = 3, "start song read back: " & start
song = 300
Check fn.SaveDefaultSidSong(tune, song) = False, "SaveDefaultSidSong 300"
Check ReadBytes(tune) = Left(header, 16) & Word(3) & Mid(header, 19), "300 changes nothing"

' ---- FindFiles ----
Dim tree, pattern, size
tree = folder & "\tree"
fso.CreateFolder tree
fso.CreateFolder tree & "\sub"
WriteBytes tree & "\a.sid", String(10, "a")
WriteBytes tree & "\sub\b.sid", String(20, "b")
pattern = "*.sid"
size = fn.FindFiles(tree, pattern)
Check size = 30, "FindFiles total: " & size
Check tree = folder & "\tree\", "FindFiles gives the path its backslash: " & tree
Check pattern = "*.sid", "the pattern is unchanged"

' ---- ChangeConfigFile: a script cannot build ConfigFileType records ----
Dim cfg, entries
cfg = folder & "\emu.ini"
WriteBytes cfg, "A=1" & vbCrLf
entries = Array("A", "2")
On Error Resume Next
fn.ChangeConfigFile cfg, entries
Check Err.Number = 13, "ChangeConfigFile with an array of variants: " & Err.Number
Err.Clear
On Error GoTo 0
Check ReadBytes(cfg) = "A=1" & vbCrLf, "the configuration file is unchanged"

' ---- hvRegistry ----
Dim reg, root, key, vname, value, isText, dflt
Set reg = CreateObject("Halvane.hvRegistry")
root = "HKEY_CURRENT_USER" : key = "Software\HalvaneWineTest\VBScript"
vname = "Text" : value = "ABC" : isText = True
Check reg.SaveSetting(root, key, vname, value, isText) = True, "SaveSetting of a text"
Check root = "HKEY_CURRENT_USER" And key = "Software\HalvaneWineTest\VBScript" And _
      vname = "Text" And value = "ABC" And isText = True, "SaveSetting changes no variable"
value = Empty
Check reg.GetSetting(root, key, vname, value, isText) = True, "GetSetting of the text"
Check value = "ABC", "GetSetting vValue: " & value
vname = "Number" : value = 12 : isText = 0
Check reg.SaveSetting(root, key, vname, value, isText) = True, "SaveSetting of a number"
Check TypeName(isText) = "Integer", "bStringType, only read, keeps its variant"
value = Empty
reg.GetSetting root, key, vname, value, isText
Check value = 12, "the number read back: " & value
vname = "Missing" : value = Empty
Check reg.GetSetting(root, key, vname, value, isText) = True, "GetSetting of a missing value"
Check value = "--NOT-FOUND--", "missing: " & value
vname = "Default5" : dflt = 5 : value = Empty
Check reg.GetSetting(root, key, vname, value, isText, dflt) = True, "GetSetting with a default"
Check value = 5, "the default stored and read back: " & value
vname = "Bad" : value = "x" : isText = False
On Error Resume Next
reg.SaveSetting root, key, vname, value, isText
Check Err.Number = 13, "a text as a number: " & Err.Number
Err.Clear
On Error GoTo 0

' ---- hvShell: the player methods take a by-reference flag and tune, only read ----
Dim shell, showError, tuneNo
Set shell = CreateObject("Halvane.hvShell")
showError = 0 : tuneNo = 3
shell.PlayMusic folder & "\noplayer.exe", folder, "tune.sid", "Caption", showError
Check showError = 0 And TypeName(showError) = "Integer", "PlayMusic leaves DisplayError as it was"
shell.PlayMusicSong folder & "\noplayer.exe", folder, "tune.sid", tuneNo
Check tuneNo = 3 And TypeName(tuneNo) = "Integer", "PlayMusicSong leaves intTune as it was"

WScript.Echo "CHECKS " & passed & " " & failed & " 0"
WScript.Quit failed
