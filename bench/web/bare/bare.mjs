// The bare window's one program: its last box's text, echoed into the six places a calculation
// rewrites. What any page of the window's shape must do for a keystroke, and nothing more.
const frmStart = document.getElementById('frmStart');
const box = document.getElementById('txtResp2');
const values = ['lblPer1b', 'lblPer2b', 'lblWAvgb', 'lblActDiffb', 'lblDiffNeedb'].map((id) => document.getElementById(id));
const verdict = document.getElementById('txtSigDiff');

box.addEventListener('input', () => {
  const text = box.value;
  for (const value of values) value.textContent = text;
  verdict.value = text;
});
frmStart.inert = false;
box.focus();
