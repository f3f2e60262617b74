-- Short program texts and formulas are never split across lines: a break
-- after the "-" of -(8^(1/3)) would read as two things.
function Code(el)
  if utf8.len(el.text) <= 28 then
    el.classes:insert("nobreak")
  end
  return el
end
