-- Short program texts and formulas are never split across lines: a break
-- after the "-" of -(8^(1/3)) would read as two things.
function Code(el)
  if utf8.len(el.text) <= 28 then
    el.classes:insert("nobreak")
  end
  return el
end

-- A line that leads into a list, a table or a code block ("La carpeta
-- contiene:") stays on the page of what it introduces; so does any paragraph
-- just before a code block, which always speaks of it.
local introduced = {BulletList = true, OrderedList = true, Table = true, CodeBlock = true}

function Blocks(blocks)
  for i = 1, #blocks - 1 do
    local block = blocks[i]
    local following = blocks[i + 1].t
    if block.t == "Para" and introduced[following] and
        (following == "CodeBlock" or pandoc.utils.stringify(block):match(":%s*$")) then
      blocks[i] = pandoc.Div({block}, pandoc.Attr("", {"lead-in"}))
    end
  end
  return blocks
end
