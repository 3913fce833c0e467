' Creates every class of both servers by name, as the front-end does after an installation.
' Prints "CHECKS <passed> <failed> <skipped>" (an uncaught error would end the script silently).
Option Explicit
Dim progIds, progId, obj, passed, failed
progIds = Array("Tessary.hvD64", "Tessary.hvT64", "Tessary.hvPRG", "Tessary.hvP00", _
                "Tessary.hvExtract", "Halvane.hvFunctions", "Halvane.hvRegistry", "Halvane.hvShell")
passed = 0
failed = 0
For Each progId In progIds
  On Error Resume Next
  Err.Clear
  Set obj = CreateObject(progId)
  If Err.Number = 0 And IsObject(obj) Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL CreateObject(""" & progId & """): " & Err.Number & " " & Err.Description
  End If
  Set obj = Nothing
  On Error GoTo 0
Next
WScript.Echo "CHECKS " & passed & " " & failed & " 0"
