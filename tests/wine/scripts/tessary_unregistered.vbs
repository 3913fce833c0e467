' After regsvr32 /u, CreateObject must fail with 429 "ActiveX component can't create object".
Option Explicit
Dim passed, failed, progId, obj
passed = 0
failed = 0
For Each progId In Array("Tessary.hvD64", "Tessary.hvT64", "Tessary.hvPRG", "Tessary.hvP00")
  On Error Resume Next
  Set obj = CreateObject(progId)
  If Err.Number = 429 Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL CreateObject(" & progId & ") gave " & Err.Number
  End If
  Err.Clear
  On Error GoTo 0
Next
WScript.Echo "CHECKS " & passed & " " & failed & " 0"
WScript.Quit failed
