' Script variables passed by reference to typed by-reference parameters, from VBScript: each
' comes back holding what the member wrote, as the declared type. HvTest.ByRefProbe has one
' parameter of every kind (text, 16- and 32-bit integer, boolean, enumeration, double).
Option Explicit
Dim passed, failed
passed = 0
failed = 0

Sub Check(ok, what)
  If ok Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

Dim probe, s, i, l, b, c, d, r
Set probe = CreateObject("HvTest.ByRefProbe")

s = "abc" : i = 5 : l = 70000 : b = False : c = 2 : d = 1.5
r = probe.Bump(s, i, l, b, c, d)
Check r = "abc|5|70000|0|2|1.5", "Bump saw " & r
Check s = "abc+" And TypeName(s) = "String", "text written back: " & s
Check i = 6 And TypeName(i) = "Integer", "Integer written back: " & i & " " & TypeName(i)
Check l = 70001 And TypeName(l) = "Long", "Long written back: " & l & " " & TypeName(l)
Check b = True And TypeName(b) = "Boolean", "Boolean written back: " & b & " " & TypeName(b)
Check c = 3 And TypeName(c) = "Long", "enumeration written back: " & c & " " & TypeName(c)
Check d = 3 And TypeName(d) = "Double", "Double written back: " & d & " " & TypeName(d)

' Variables never assigned arrive as the empty value of each type.
Dim s0, i0, l0, b0, c0, d0
r = probe.Bump(s0, i0, l0, b0, c0, d0)
Check r = "|0|0|0|0|0", "empty variables arrive as " & r
Check s0 = "+" And i0 = 1 And l0 = 1 And b0 = True And c0 = 1 And d0 = 0, "empty variables filled"
Check TypeName(s0) = "String" And TypeName(i0) = "Integer", "empty variables typed"

' Values of other types are converted on the way in; the written value has the declared type.
s = 12 : i = "7" : l = "-3" : b = 1 : c = "1" : d = 2
r = probe.Bump(s, i, l, b, c, d)
Check r = "12|7|-3|-1|1|2", "converted on the way in: " & r
Check s = "12+" And i = 8 And TypeName(i) = "Integer" And l = -2 And b = False, "converted back"

' Literals and parenthesised variables are passed by value: nothing is written back.
s = "keep" : i = 1
r = probe.Bump((s), (i), 9, True, 3, 4)
Check r = "keep|1|9|-1|3|4", "values: " & r
Check s = "keep" And i = 1, "parenthesised variables unchanged"

' An argument the member only reads keeps the caller's variant, type included.
s = 5 : i = "3"
r = probe.Peek(s, i)
Check r = "5|3", "Peek saw " & r
Check TypeName(s) = "Integer" And TypeName(i) = "String", "read-only arguments keep their type"

' A by-reference parameter of a script Sub passed on reaches the caller's variable.
Sub BumpText(t)
  Dim a, e, f, g, h
  probe.Bump t, a, e, f, g, h
End Sub
s = "outer"
BumpText s
Check s = "outer+", "passed on from a Sub: " & s

' An array element is passed by reference too.
Dim arr(1)
arr(0) = "elem"
probe.Bump arr(0), i, l, b, c, d
Check arr(0) = "elem+", "array element: " & arr(0)

' A property with a by-reference index.
l = 21
Check probe.Doubled(l) = 21, "Doubled returns the index"
Check l = 42, "Doubled doubles its index: " & l

' What a member wrote before it failed reaches the variable, as it would a typed caller's.
s = "before"
On Error Resume Next
probe.WriteThenFail s, 5
Check Err.Number = 5, "WriteThenFail raises 5: " & Err.Number
Check s = "written", "written before the failure: " & s
Err.Clear

' Values that do not convert: the call does not happen, no variable changes.
s = "same" : i = "abc"
r = "untouched"
r = probe.Bump(s, i, l, b, c, d)
Check Err.Number = 13, "text for an Integer: " & Err.Number & " " & Err.Description
Check s = "same" And i = "abc" And r = "untouched", "nothing written after a mismatch"
Err.Clear
i = 40000
probe.Bump s, i, l, b, c, d
Check Err.Number = 6, "40000 for an Integer overflows: " & Err.Number
Check i = 40000 And TypeName(i) = "Long", "the overflowing variable is unchanged"
Err.Clear
s = Null
probe.Bump s, i0, l, b, c, d
Check Err.Number = 13, "Null for a String: " & Err.Number
Check IsNull(s), "Null stays Null"
Err.Clear
s = Array(1, 2)
probe.Peek s, i0
Check Err.Number = 13, "an array for a String: " & Err.Number
Err.Clear
On Error GoTo 0

WScript.Echo "CHECKS " & passed & " " & failed & " 0"
WScript.Quit failed
