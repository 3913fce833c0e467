// Typed by-reference parameters from JScript. JScript passes every argument by value: calls
// work with values converted to the declared types, and the variables keep their values.
var passed = 0, failed = 0;
function check(ok, what) {
  if (ok) {
    passed++;
  } else {
    failed++;
    WScript.Echo("FAIL " + what);
  }
}
// The error a call raises, or null.
function errorOf(call) {
  try {
    call();
  } catch (e) {
    return e;
  }
  return null;
}

var probe = new ActiveXObject("HvTest.ByRefProbe");
var s = "abc", i = 5, l = 70000, b = false, c = 2, d = 1.5;
var r = probe.Bump(s, i, l, b, c, d);
check(r == "abc|5|70000|0|2|1.5", "Bump saw " + r);
check(s === "abc" && i === 5 && l === 70000 && b === false && c === 2 && d === 1.5,
      "JScript variables keep their values");

r = probe.Bump(12, "7", "-3", true, "1", 2);
check(r == "12|7|-3|-1|1|2", "converted on the way in: " + r);
r = probe.Peek(undefined, undefined);
check(r == "|0", "undefined arrives as the empty value: " + r);
check(probe.Doubled(21) == 21, "a property with a by-reference index");

var e = errorOf(function () { probe.Bump("x", "abc", 1, true, 1, 1); });
check(e !== null && e.number == -2147352571, "text for an Integer: type mismatch " + (e && e.number));
e = errorOf(function () { probe.Peek(null, 1); });
check(e !== null && e.number == -2147352571, "null for a String: type mismatch " + (e && e.number));
e = errorOf(function () { probe.WriteThenFail("x", 5); });
check(e !== null && e.number == -2146828283, "WriteThenFail raises 5: " + (e && e.number));
check(e !== null && e.description == "Invalid procedure call or argument",
      "with its text: " + (e && e.description));

WScript.Echo("CHECKS " + passed + " " + failed + " 0");
WScript.Quit(failed);
