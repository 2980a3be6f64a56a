Sub Calc(XXPP!, YYPP!, ANS00!, EFLG%)
   Dim Y!(10), YG1$(10)
   Dim XMIN!, XMAX!, YMIN!, YMAX!, X1!, NPARA%, ANS11!, NNP%, NNPB%, FFLG%, HMODE%, EQNO%
   Dim EXTRAP!, XEXP1!, XEXP2!, YEXP1!, YEXP2!, YQ#
   On Error GoTo EL100
   Rem   Calc XXPP! ,YYPP! , ANS00! , EFLG%
   Rem   XXPP!     X_Value   <input>
   Rem   YYPP!     Parameter <Input>
   Rem   ANS00!    Calc_Value<Output>
   Rem   EFLG%     計算処理FLG
   Rem   EFLG% = 0 --- <OK>
   Rem   EFLG% = 1 --- Ｘ値は０以下不可
   Rem   EFLG% = 2 --- Ｘ値は範囲外(Mode1)
   Rem   EFLG% = 3 --- ﾊﾟﾗﾒｰﾀ値は範囲外
   Rem   EFLG% = 4 --- 計算Ｙ値は範囲外
   Rem   EFLG% = 7 --- 計算処理エラー
     XMIN! = .5 : XMAX! = 120
     YMIN! = 1.5 : YMAX! = 183.4
     X1! = XXPP!
     NPARA% = 1
   ANS00! = 0: ANS11! = 0
   NNP% = 1
   NNPB% = 1
   FFLG% = 0
   EFLG% = 0
   If XXPP! <= 0 Then
      If XMIN! > 0 And XMAX! > 0 Then FFLG% = 1
      If FFLG% >= 1 Then
         EFLG% = 1  '負は許されない
         GoTo LEND11
      End If
   End If
   FFLG% = 0
   EXTRAP! = 0.02
   XEXP1! = Abs(XMIN!) * EXTRAP!
   XEXP2! = Abs(XMAX!) * EXTRAP!
   YEXP1! = Abs(YMIN!) * EXTRAP!
   YEXP2! = Abs(YMAX!) * EXTRAP!
   If XXPP! < XMIN! - XEXP1! Or XXPP! > XMAX! + XEXP2! Then FFLG% = FFLG% + 1
   If FFLG% = 1 Then
      EFLG% = 2     'Ｘ値が範囲外です
   End If

   HMODE% = 0
   EQNO% = 1: GoSub EQ00
   ANS11! = Y!(1)
   ANS00! = ANS11!
   FFLG% = 0
   If ANS11! < YMIN! - YEXP1! Or ANS11! > YMAX! + YEXP2! Then FFLG% = FFLG% + 1
   If FFLG% = 1 And EFLG% = 0 Then EFLG% = 4

   GoTo LEND11
'*************************************************************************
EQ00: Rem
   If X1! <= 12.5# Then
      YQ#=  1.00000E+00* X1! +  1.00000E+00
   Else
      If X1! <= 40# Then
         YQ#=  2.00000E+00* X1! - 1.15000E+01
      Else
         YQ#= EXP(  1.00000E-02* X1! +  4.00000E+00 )
      End If
   End If
   If Abs(YQ#) < 1.1754944E-38 Then YQ# = 0
   If Abs(YQ#) > 3.402823E+38 Then YQ# = Sgn(YQ#) * 3.402823E+38
   Y!(EQNO%) = YQ#
Return
'=========================================================================
EL100:
   EFLG% = 7: ANS00! = 0
   Resume LEND11
LEND11: Rem
 Rem  Form1.Text3.Text = Str$(ANS11!)
   On Error GoTo 0
End Sub


