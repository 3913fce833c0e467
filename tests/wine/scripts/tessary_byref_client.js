// Tessary.dll's by-reference members from JScript, which passes every argument by value.
// Extract's texts are lost: the result and the result folder are all JScript gets.
// Argument 0: the data folder (run.sh made extract\*.zip there, the C++ client header.t64).
var passed = 0, failed = 0;
function check(ok, what) {
  if (ok) {
    passed++;
  } else {
    failed++;
    WScript.Echo("FAIL " + what);
  }
}
function errorOf(call) {
  try {
    call();
  } catch (e) {
    return e;
  }
  return null;
}

var fso = new ActiveXObject("Scripting.FileSystemObject");
var data = WScript.Arguments(0);
var folder = data + "\\tessary-js";
if (!fso.FolderExists(folder)) fso.CreateFolder(folder);

var x = new ActiveXObject("Tessary.hvExtract");
var work = folder + "\\work";
var gameFile = "", failInfo = "";
var found = x.Extract("C:\\Zenvora", data + "\\extract\\one_t64.zip", "", work, gameFile,
                      failInfo, "", "");
check(found === true, "Extract of one_t64.zip");
check(gameFile === "" && failInfo === "", "the JScript variables keep their values");
// Wine's JScript cannot enumerate a folder's files (Enumerator fails): look for the names.
check(fso.FileExists(work + "\\ReZip\\game.t64") && fso.FileExists(work + "\\ReZip\\readme.txt"),
      "the result folder holds the game file and its companion");
check(x.Extract("C:\\Zenvora", data + "\\extract\\toobig.zip", "", work, "", "", "", "", 0) === false,
      "Extract of toobig.zip");
var e = errorOf(function () {
  x.Extract("C:\\Zenvora", data + "\\extract\\no such.zip", "", work, "", "", "", "");
});
check(e !== null && e.description != "", "a missing archive raises: " + (e && e.description));

var t64 = new ActiveXObject("Tessary.hvT64");
check(t64.Load(data + "\\header.t64") === true, "Load header.t64");
var entries = t64.Entries;
var second = entries.Entry(2).C64Filename;
entries.Remove(1);
check(entries.Count() == 2 && entries.Entry(1).C64Filename == second, "Remove with a value");
e = errorOf(function () { entries.Remove(5); });
check(e !== null && (e.number & 0xFFFF) == 9, "Remove out of range: " + (e && e.number));
check(entries.Count() == 2, "a failed remove changes nothing");

WScript.Echo("CHECKS " + passed + " " + failed + " 0");
WScript.Quit(failed);
