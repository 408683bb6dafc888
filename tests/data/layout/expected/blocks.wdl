SUBROUTINE: tabs
{
   SET	x 1
   CPY a	 b # a tab glued to a word stays, blanks go
}
NSS:n {
{
   CALL x
}
SCREEN_OVERLAY: s
{
   P: p 341
   {
      TO: t
   }
}
T:x "top-level colons stay as they are"
T : y "and so do these"
VP: v
{
   T:z  ""
   MIN: -5
}
