// Halvane.dll's by-reference members from JScript, which passes every argument by value: the
// calls work and the variables keep their values; outputs come from results and other members.
// Argument 0: the data folder; the files used are made here.
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
var folder = WScript.Arguments(0) + "\\byref-js";
if (!fso.FolderExists(folder)) fso.CreateFolder(folder);
// Character codes 0 to 255 are the file's bytes (Windows-1252 text).
function writeBytes(path, bytes) {
  var f = fso.CreateTextFile(path, true);
  f.Write(bytes);
  f.Close();
}
function readBytes(path) {
  return fso.OpenTextFile(path).ReadAll();
}
function word(n) {
  return String.fromCharCode(n >> 8, n & 255);
}
function padded(text) {
  while (text.length < 32) text += "\0";
  return text;
}

var fn = new ActiveXObject("Halvane.hvFunctions");

// GetFileAndPath: the parts are lost; JustFileName gives the file part.
var p = "before", f = "before";
fn.GetFileAndPath("C:\\GAMES\\A.D64", p, f);
check(p === "before" && f === "before", "GetFileAndPath leaves JScript variables alone");
check(fn.JustFileName("C:\\GAMES\\A.D64") == "A.D64", "JustFileName gives the file part");

// SID headers: the result says whether the file is a SID; GetSidAuthor gives the author.
var tune = folder + "\\tune.sid";
var header = "PSID" + word(2) + word(0x7C) + word(0) + word(0x1000) + word(0x1003) + word(3) +
             word(2) + "\0\0\0\0" + padded("ABC") + padded("Some Author") + padded("1987 Co") +
             "\0\0\0\0\0\0";
writeBytes(tune, header);
var text = folder + "\\notes.txt";
writeBytes(text, "................................................................................................");
check(fn.GetSidInfo(tune, "", "", "", 0, 0) === true, "GetSidInfo of a SID");
check(fn.GetSidInfo(text, "", "", "", 0, 0) === false, "GetSidInfo of no SID");
check(fn.GetSidSongInfo(tune, 0, 0) === true, "GetSidSongInfo");
check(fn.GetSidAuthor(tune) == padded("Some Author"), "GetSidAuthor");
// SaveDefaultSidSong only reads its by-reference song: a value is all it needs.
check(fn.SaveDefaultSidSong(tune, 4) === true, "SaveDefaultSidSong 4");
check(readBytes(tune).substr(16, 2) == word(4), "start song stored");
check(fn.SaveDefaultSidSong(tune, 300) === false, "SaveDefaultSidSong 300");
var e = errorOf(function () { fn.SaveDefaultSidSong(tune, 40000); });
check(e !== null && e.number == -2147352566, "40000 overflows a 16-bit song: " + (e && e.number));
check(readBytes(tune).substr(16, 2) == word(4), "nothing stored by the failed calls");

// FindFiles: the total is the result; the path with its backslash is lost.
var tree = folder + "\\tree";
fso.CreateFolder(tree);
fso.CreateFolder(tree + "\\sub");
writeBytes(tree + "\\a.sid", "aaaaaaaaaa");
writeBytes(tree + "\\sub\\b.sid", "bbbbbbbbbbbbbbbbbbbb");
check(fn.FindFiles(tree, "*.sid") == 30, "FindFiles total");

// hvRegistry: SaveSetting needs no output; GetSetting's value is lost, so read it through
// WScript.Shell instead.
var reg = new ActiveXObject("Halvane.hvRegistry");
var key = "Software\\HalvaneWineTest\\JScript";
check(reg.SaveSetting("HKEY_CURRENT_USER", key, "Text", "ABC", true) === true, "SaveSetting text");
check(reg.SaveSetting("HKEY_CURRENT_USER", key, "Number", 12, false) === true, "SaveSetting number");
var wsh = new ActiveXObject("WScript.Shell");
check(wsh.RegRead("HKCU\\" + key + "\\Text") == "ABC", "the text read by WScript.Shell");
check(wsh.RegRead("HKCU\\" + key + "\\Number") == 12, "the number read by WScript.Shell");
check(reg.GetSetting("HKEY_CURRENT_USER", key, "Text", null, true) === true, "GetSetting");
check(reg.GetSetting("HKEY_CURRENT_USER", key, "Default7", null, false, 7) === true,
      "GetSetting with a default");
check(wsh.RegRead("HKCU\\" + key + "\\Default7") == 7, "the default stored");
check(reg.GetSetting("HKCU", key, "Text", null, true) === false, "an unknown root");
e = errorOf(function () { reg.SaveSetting("HKEY_CURRENT_USER", key, "Bad", "x", false); });
check(e !== null && (e.number & 0xFFFF) == 13, "a text as a number: " + (e && e.number));

// hvShell's player methods read their by-reference flag and tune only.
var shell = new ActiveXObject("Halvane.hvShell");
e = errorOf(function () {
  shell.PlayMusic(folder + "\\noplayer.exe", folder, "tune.sid", "Caption", false);
  shell.PlayMusicSong(folder + "\\noplayer.exe", folder, "tune.sid", 3);
});
check(e === null, "PlayMusic and PlayMusicSong take values: " + (e && e.description));

WScript.Echo("CHECKS " + passed + " " + failed + " 0");
WScript.Quit(failed);
