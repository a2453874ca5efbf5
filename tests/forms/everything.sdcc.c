/* Korvane c81cbc40b817e63c */
#include <pic16f877a.h>
#include <stdint.h>
//配置字: HS振荡 看门狗开 上电延时开 欠压复位开 低电压编程关 在线调试关 代码不保护 EEPROM数据不保护 程序存储器不写保护
static __code uint16_t __at(_CONFIG) configword = _FOSC_HS & _WDTE_ON & _PWRTE_ON & _BOREN_ON & _LVP_OFF & _DEBUG_OFF & _CP_OFF & _CPD_OFF & _WRT_OFF;
//驱动函数约占程序存储器1094字、RAM 69字节(另有缓冲区40字节),按SDCC编译、与不生成驱动函数时相比

// 函数声明部份
void set_port(void);
void fun_timerset(void);
void fun_ccpset(void);
void fun_sciset(void);
void fun_msspset(void);
void fun_adset(void);
void fun_cmpset(void);
void fun_timerstart(void);
void isr(void) __interrupt(0);
void fun_intset(void);
//最近一次捕捉到的Timer1计数(16位);不等待;两次读之间又捕捉时重读
unsigned int ccp1_capture(void);
//设置PWM占空比(10位,单位为TMR2的1/4个计数);不等待;两部分在周期结束时才一起生效,若两次写入之间正好结束一个周期,该周期的占空比会差几个单位
void ccp2_set_duty(unsigned int duty);
//放入一个要发送的字节;不等待;放入返回1,发送缓冲区满返回0
unsigned char sci_write(unsigned char byte);
//发送一个字节;发送缓冲区满时等待(会阻塞,不可在中断中调用);无返回值
void sci_put(unsigned char byte);
//取出一个收到的字节;不等待;没有字节时返回0,先用sci_rx_count()判断
unsigned char sci_read(void);
//接收缓冲区中的字节数;不等待
unsigned char sci_rx_count(void);
//发送缓冲区的空位数;不等待
unsigned char sci_tx_room(void);
//printf的输出:经发送缓冲区发送;缓冲区满时等待(会阻塞);返回c
int putchar(int c);
//等待I2C操作完成;最多查询65536次;出错时记入i2c_error;返回i2c_error
unsigned char i2c_wait(void);
//清除i2c_error,发出起始条件;有限等待;返回i2c_error
unsigned char i2c_start(void);
//发出重复起始条件;有限等待;返回i2c_error
unsigned char i2c_restart(void);
//发出停止条件;有限等待;返回i2c_error
unsigned char i2c_stop(void);
//发送一个字节(已出错则不发);有限等待;返回i2c_error:0收到应答,I2C_NACK无应答
unsigned char i2c_write(unsigned char byte);
//接收一个字节(已出错则不收),ack非0回应答(后面还要读),0不回应答(最后一个);有限等待;返回收到的字节
unsigned char i2c_read(unsigned char ack);
//向器件addr(写地址)从寄存器reg起写入buf的n个字节,以停止条件结束;有限等待;返回i2c_error
unsigned char i2c_write_bytes(unsigned char addr, unsigned char reg, const unsigned char *buf, unsigned char n);
//从器件addr(写地址)的寄存器reg起读n个字节到buf,以停止条件结束;有限等待;返回i2c_error
unsigned char i2c_read_bytes(unsigned char addr, unsigned char reg, unsigned char *buf, unsigned char n);
//选择通道(0到7)并启动一次转换;通道改变时先等待采样时间20uS(会阻塞这么久);无返回值
void ad_start(unsigned char channel);
//转换是否已结束;不等待;结束返回1,否则返回0
unsigned char ad_done(void);
//最近一次转换的结果(10位,对齐方式见A/D设置);不等待
unsigned int ad_result(void);
//转换一个通道并返回结果;等待采样和转换结束(会阻塞,约20uS加12个TAD)
unsigned int ad_read(unsigned char channel);
//读出数据EEPROM的一个字节;先等正在进行的写入结束(会阻塞,最长约4mS);返回该字节
unsigned char eeprom_read(unsigned char addr);
//写一个字节到数据EEPROM;先等上一次写入结束(会阻塞,最长约4mS),中断允许保持原样;无返回值
void eeprom_write(unsigned char addr, unsigned char value);
//上一次写入是否已结束;不等待;结束返回1,否则返回0
unsigned char eeprom_done(void);
volatile unsigned char portb_state;  //RB口电平变化中断时读到的PORTB值
volatile unsigned char sci_frame_errors;  //帧错误(FERR)而丢弃的字节数
volatile unsigned char sci_overruns;  //接收溢出(OERR)的次数,每次溢出后接收已重新打开
volatile unsigned char sci_rx_lost;  //接收缓冲区满而丢弃的字节数
volatile unsigned int ad_value;  //转换结束时读到的ADRESH:ADRESL(对齐方式见A/D设置)
volatile unsigned char ad_ready;  //转换结束、结果已存入时由中断置1
volatile unsigned char cmcon_state;  //比较器中断时读到的CMCON值(C2OUT第7位,C1OUT第6位)
#define SCI_RX_SIZE 32  //接收缓冲区字节数(2的幂)
volatile unsigned char sci_rx_buf[SCI_RX_SIZE];  //接收缓冲区
volatile unsigned char sci_rx_head, sci_rx_tail;  //接收缓冲区的写入和取出位置,各只由一方改动
#define SCI_TX_SIZE 8  //发送缓冲区字节数(2的幂)
volatile unsigned char sci_tx_buf[SCI_TX_SIZE];  //发送缓冲区
volatile unsigned char sci_tx_head, sci_tx_tail;  //发送缓冲区的写入和取出位置,各只由一方改动
#define I2C_NACK 1  //I2C驱动的返回值:0成功,1无应答(器件不存在或地址错)
#define I2C_COLLISION 2  //I2C驱动的返回值:总线冲突
#define I2C_TIMEOUT 3  //I2C驱动的返回值:等待超时
unsigned char i2c_error;  //本次传送(自i2c_start起)出的错,0为没有
/* 用户代码开始: 全局 */
/* 用户代码结束: 全局 */

// 主函数
void main(void)
{
    set_port();
    fun_timerset();
    fun_ccpset();
    fun_sciset();
    fun_msspset();
    fun_adset();
    fun_cmpset();
    fun_timerstart();
    fun_intset();
    /* 用户代码开始: 主循环前 */
    /* 用户代码结束: 主循环前 */
    while (1) {
        /* 用户代码开始: 主循环 */
        /* 用户代码结束: 主循环 */
        __asm clrwdt __endasm;  //看门狗已打开,主循环中清看门狗
    }
}

//中断子程序
void isr(void) __interrupt(0)
{
    unsigned char t0if_due = 0;  //本次进入时T0IF中断已发生
    unsigned char intf_due = 0;  //本次进入时INTF中断已发生
    unsigned char rbif_due = 0;  //本次进入时RBIF中断已发生
    unsigned char tmr1if_due = 0;  //本次进入时TMR1IF中断已发生
    unsigned char tmr2if_due = 0;  //本次进入时TMR2IF中断已发生
    unsigned char ccp1if_due = 0;  //本次进入时CCP1IF中断已发生
    unsigned char ccp2if_due = 0;  //本次进入时CCP2IF中断已发生
    unsigned char txif_due = 0;  //本次进入时TXIF中断已发生
    unsigned char rcif_due = 0;  //本次进入时RCIF中断已发生
    unsigned char sspif_due = 0;  //本次进入时SSPIF中断已发生
    unsigned char bclif_due = 0;  //本次进入时BCLIF中断已发生
    unsigned char adif_due = 0;  //本次进入时ADIF中断已发生
    unsigned char cmif_due = 0;  //本次进入时CMIF中断已发生
    //第一步:每个已发生的中断先做要紧的事(清标志、重装定时器、读数据),所以定时周期和收到的字节与下面用户代码的长短无关
    if (T0IE && T0IF) {
        T0IF = 0;
        //TMR0 += 0x07,用一条addwf指令读、加、写TMR0
        __asm
            BANKSEL _TMR0
            movlw   0x07
            addwf   _TMR0, f
        __endasm;  //重装初值,使每次中断间隔为设定的定时时间
        t0if_due = 1;
    }
    if (INTE && INTF) {
        INTF = 0;
        intf_due = 1;
    }
    if (RBIE && RBIF) {
        portb_state = PORTB;  //先读PORTB结束电平失配,否则RBIF清零后又被置位,中断反复进入
        RBIF = 0;
        rbif_due = 1;
    }
    if (TMR1IE && TMR1IF) {
        TMR1IF = 0;
        //TMR1 += 0xEC7F:先停止Timer1(TMR1ON = 0),低字节的进位(STATUS的C)加到高字节,再启动
        __asm
            BANKSEL _T1CON
            bcf     _T1CON, 0
            movlw   0x7F
            addwf   _TMR1L, f
            btfsc   0x03, 0
            incf    _TMR1H, f
            movlw   0xEC
            addwf   _TMR1H, f
            bsf     _T1CON, 0
        __endasm;  //重装初值,使每次中断间隔为设定的定时时间
        tmr1if_due = 1;
    }
    if (TMR2IE && TMR2IF) {
        TMR2IF = 0;
        tmr2if_due = 1;
    }
    if (CCP1IE && CCP1IF) {
        CCP1IF = 0;
        ccp1if_due = 1;
    }
    if (CCP2IE && CCP2IF) {
        CCP2IF = 0;
        ccp2if_due = 1;
    }
    if (TXIE && TXIF) {
        if (sci_tx_head != sci_tx_tail) {
            TXREG = sci_tx_buf[sci_tx_tail & (SCI_TX_SIZE - 1)];  //写TXREG清除TXIF(只读标志)
            sci_tx_tail++;
        } else {
            TXIE = 0;  //发送缓冲区已空:关闭发送中断,sci_write()再打开
        }
        txif_due = 1;
    }
    if (RCIE && RCIF) {
        unsigned char framing = FERR;  //先读RCSTA的FERR:它属于FIFO顶上、下面要读的字节
        unsigned char byte = RCREG;  //读RCREG清除RCIF(只读标志)
        if (framing) {
            sci_frame_errors++;  //帧错误:丢弃这个字节
        } else if ((unsigned char)(sci_rx_head - sci_rx_tail) == SCI_RX_SIZE) {
            sci_rx_lost++;  //缓冲区满:丢弃这个字节
        } else {
            sci_rx_buf[sci_rx_head & (SCI_RX_SIZE - 1)] = byte;
            sci_rx_head++;
            rcif_due = 1;
        }
        if (OERR && !RCIF) {  //溢出:FIFO中的两个字节都已取走,按数据手册清CREN再置位,接收才继续
            CREN = 0;
            CREN = 1;
            sci_overruns++;
        }
    }
    if (SSPIE && SSPIF) {
        SSPIF = 0;
        sspif_due = 1;
    }
    if (BCLIE && BCLIF) {
        BCLIF = 0;
        bclif_due = 1;
    }
    if (ADIE && ADIF) {
        ADIF = 0;
        ad_value = ((unsigned int)ADRESH << 8) | ADRESL;  //下一次转换会覆盖结果,先读出
        ad_ready = 1;
        adif_due = 1;
    }
    if (CMIE && CMIF) {
        cmcon_state = CMCON;  //先读CMCON结束失配,否则CMIF清零后又被置位,中断反复进入
        CMIF = 0;
        cmif_due = 1;
    }
    //第二步:运行已发生的中断的用户代码
    if (t0if_due) {
        //Timer0中断服务子程序
        //时间预算:周期500个指令周期(100.0uS),减去中断进入、退出和第一步约290个周期,本周期内所有中断的用户代码合计不超过210个周期(42.0uS);超出时下一次中断推迟,周期不变,推迟超过一个周期则少一次中断
        /* 用户代码开始: 中断 T0IF */
        /* 用户代码结束: 中断 T0IF */
    }
    if (intf_due) {
        //RB0/INT中断服务子程序
        /* 用户代码开始: 中断 INTF */
        /* 用户代码结束: 中断 INTF */
    }
    if (rbif_due) {
        //RB口电平变化中断服务子程序
        /* 用户代码开始: 中断 RBIF */
        /* 用户代码结束: 中断 RBIF */
    }
    if (tmr1if_due) {
        //Timer1中断服务子程序
        //时间预算:周期5000个指令周期(1000.0uS),减去中断进入、退出和第一步约290个周期,本周期内所有中断的用户代码合计不超过4710个周期(942.0uS);超出时下一次中断推迟,周期不变,推迟超过一个周期则少一次中断
        /* 用户代码开始: 中断 TMR1IF */
        /* 用户代码结束: 中断 TMR1IF */
    }
    if (tmr2if_due) {
        //Timer2中断服务子程序
        /* 用户代码开始: 中断 TMR2IF */
        /* 用户代码结束: 中断 TMR2IF */
    }
    if (ccp1if_due) {
        //CCP1中断服务子程序
        /* 用户代码开始: 中断 CCP1IF */
        /* 用户代码结束: 中断 CCP1IF */
    }
    if (ccp2if_due) {
        //CCP2中断服务子程序
        /* 用户代码开始: 中断 CCP2IF */
        /* 用户代码结束: 中断 CCP2IF */
    }
    if (txif_due) {
        //SCI串行口发送中断服务子程序
        /* 用户代码开始: 中断 TXIF */
        /* 用户代码结束: 中断 TXIF */
    }
    if (rcif_due) {
        //SCI串行口接收中断服务子程序
        //收到的字节已放入接收缓冲区,用sci_read()取出
        /* 用户代码开始: 中断 RCIF */
        /* 用户代码结束: 中断 RCIF */
    }
    if (sspif_due) {
        //MSSP中断服务子程序
        /* 用户代码开始: 中断 SSPIF */
        /* 用户代码结束: 中断 SSPIF */
    }
    if (bclif_due) {
        //I2C总线冲突中断服务子程序
        //总线冲突后MSSP已回到空闲状态,被打断的传送须由用户代码从起始条件重新开始
        /* 用户代码开始: 中断 BCLIF */
        /* 用户代码结束: 中断 BCLIF */
    }
    if (adif_due) {
        //A/D转换中断服务子程序
        //ad_value是本次转换的结果
        /* 用户代码开始: 中断 ADIF */
        /* 用户代码结束: 中断 ADIF */
    }
    if (cmif_due) {
        //比较器中断服务子程序
        /* 用户代码开始: 中断 CMIF */
        /* 用户代码结束: 中断 CMIF */
    }
}

//端口I/O定义子程序
void set_port(void)
{
    //先写锁存器再定方向,输出引脚一开始就是设定的电平
    PORTA = 0x00;
    TRISA = 0x0F;
    PORTB = 0x00;
    TRISB = 0xF1;
    PORTC = 0x00;
    TRISC = 0xDC;
    PORTD = 0x81;
    TRISD = 0x00;
    PORTE = 0x00;
    TRISE = 0x00;
    /* 用户代码开始: set_port */
    /* 用户代码结束: set_port */
}

//定时器初始化设置子程序
void fun_timerset(void)
{
    //Timer0初始化设置
    __asm clrwdt __endasm;  //预分频器从看门狗改给Timer0之前先清看门狗
    //Timer0 使用预分频器
    //Timer0选择分频率为1:2
    //内部时钟定时方式,定时时间:100uS,误差:0uS
    TMR0 = 0x06;

    //RB口功能设置
    //RB0/INT中断,下降沿触发
    //打开RB口弱上拉
    OPTION_REG = 0x10;  //RBPU=0 INTEDG=0 T0CS=0 T0SE=1 PSA=0 PS2=0 PS1=0 PS0=0

    //Timer1初始化设置
    //timer1使用预分频率1:1
    //不使用T1内部振荡器
    //Timer1工作定时器模式,定时时间:1000uS,误差:0uS
    T1CON = 0x00;  //T1CKPS1=0 T1CKPS0=0 T1OSCEN=0 T1SYNC=0 TMR1CS=0 TMR1ON=0
    TMR1H = 0xEC;
    TMR1L = 0x78;

    //Timer2初始化设置
    //timer2使用预分频率1:1
    //timer2使用后分频率1:1
    T2CON = 0x00;  //TOUTPS3=0 TOUTPS2=0 TOUTPS1=0 TOUTPS0=0 TMR2ON=0 T2CKPS1=0 T2CKPS0=0
    //定时器2定时时间为:50uS,误差:0uS
    PR2 = 0xF9;  //TMR2计数到PR2后自动清零
    /* 用户代码开始: fun_timerset */
    /* 用户代码结束: fun_timerset */
}

//CCP初始化设置子程序
void fun_ccpset(void)
{
    //CCP1模块设置
    CCP1CON = 0x04;  //CCP1X=0 CCP1Y=0 CCP1M3=0 CCP1M2=1 CCP1M1=0 CCP1M0=0

    //CCP2模块设置
    //PWM占空比:20uS
    CCPR2L = 0x64;
    /* 用户代码开始: fun_ccpset */
    /* 用户代码结束: fun_ccpset */
}

//SCI串行口初始化设置子程序
void fun_sciset(void)
{
    //串行口工作于异步方式
    SPBRG = 0x81;  // 通信波特率为9600
    //高波特率方式:Baud Rate = Fosc/(16*(SPBRG+1))
    //发送数据长度为8位
    TXSTA = 0x04;  //CSRC=0 TX9=0 TXEN=0 SYNC=0 BRGH=1
    //接收数据长度为8位
    RCSTA = 0x80;  //SPEN=1 RX9=0 SREN=0 CREN=0
    TXEN = 1;  //允许发送
    CREN = 1;  //允许接收
    /* 用户代码开始: fun_sciset */
    /* 用户代码结束: fun_sciset */
}

//MSSP初始化设置子程序
void fun_msspset(void)
{
    //MSSP工作于I2C主控方式
    //关闭压摆率控制(100kHz)
    SSPSTAT = 0x80;  //SMP=1 CKE=0
    //I2C总线速率:100kHz,实际速率:100.000kHz,误差:0.000%
    SSPADD = 0x31;  //I2C时钟 = Fosc/(4*(SSPADD+1))
    SSPCON = 0x28;  //SSPEN=1 CKP=0 SSPM3=1 SSPM2=0 SSPM1=0 SSPM0=0
    /* 用户代码开始: fun_msspset */
    /* 用户代码结束: fun_msspset */
}

//A/D转换模块初始化设置子程序
void fun_adset(void)
{
    //AN0模拟,VREF+=VDD,VREF-=VSS
    //转换结果右对齐
    ADCON1 = 0x8E;
    //转换时钟Fosc/32,TAD=1.600uS,转换时间19.200uS
    //转换通道AN0,打开A/D模块
    ADCON0 = 0x81;
    /* 用户代码开始: fun_adset */
    /* 用户代码结束: fun_adset */
}

//比较器初始化设置子程序
void fun_cmpset(void)
{
    //参考电压低量程,CVREF=12/24VDD,VDD=5V时为2.500V
    CVRCON = 0xAC;  //CVREN=1 CVROE=0 CVRR=1 CVR=1100
    //四个输入切换到两个比较器,参考为CVREF
    //CIS=1:C1的VIN-接RA3,C2的VIN-接RA2
    //C2输出反相
    CMCON = 0x2E;  //C2INV=1 C1INV=0 CIS=1 CM=110
    { volatile unsigned char n = 17; while (n) n--; }  //等待10uS:模式改变后比较器输出有效,参考电压稳定
    cmcon_state = CMCON;  //读CMCON结束失配,再清CMIF,打开中断时不会误入中断
    CMIF = 0;
    /* 用户代码开始: fun_cmpset */
    /* 用户代码结束: fun_cmpset */
}

//启动定时器子程序:所有模块设置好以后才启动定时器和PWM输出
void fun_timerstart(void)
{
    TMR1ON = 1;  //启动Timer1
    TMR2ON = 1;  //启动Timer2
    CCP2CON = 0x0C;  //CCP2X=0 CCP2Y=0 CCP2M3=1 CCP2M2=1 CCP2M1=0 CCP2M0=0
    /* 用户代码开始: fun_timerstart */
    /* 用户代码结束: fun_timerstart */
}

//中断允许设置子程序
void fun_intset(void)
{
    //Timer0中断允许
    //RB0/INT中断允许
    //RB口电平变化中断允许
    //Timer1中断允许
    //Timer2中断允许
    //CCP1中断允许
    //CCP2中断允许
    //SCI串行口发送中断允许
    //SCI串行口接收中断允许
    //MSSP中断允许
    //I2C总线冲突中断允许
    //A/D转换中断允许
    PIE1 = 0x7F;  //ADIE=1 RCIE=1 TXIE=1 SSPIE=1 CCP1IE=1 TMR2IE=1 TMR1IE=1
    //比较器中断允许
    PIE2 = 0x49;  //CMIE=1 BCLIE=1 CCP2IE=1
    //外设中断允许
    //总中断允许
    INTCON = 0xF8;  //GIE=1 PEIE=1 T0IE=1 INTE=1 RBIE=1 T0IF=0 INTF=0 RBIF=0
    /* 用户代码开始: fun_intset */
    /* 用户代码结束: fun_intset */
}

//最近一次捕捉到的Timer1计数(16位);不等待;两次读之间又捕捉时重读
unsigned int ccp1_capture(void)
{
    unsigned char high;
    unsigned char low;
    do {
        high = CCPR1H;
        low = CCPR1L;
    } while (high != CCPR1H);
    return ((unsigned int)high << 8) | low;
}

//设置PWM占空比(10位,单位为TMR2的1/4个计数);不等待;两部分在周期结束时才一起生效,若两次写入之间正好结束一个周期,该周期的占空比会差几个单位
void ccp2_set_duty(unsigned int duty)
{
    CCPR2L = (unsigned char)(duty >> 2);
    CCP2CON = (unsigned char)((CCP2CON & 0xCF) | ((duty & 3) << 4));
}

//放入一个要发送的字节;不等待;放入返回1,发送缓冲区满返回0
unsigned char sci_write(unsigned char byte)
{
    if ((unsigned char)(sci_tx_head - sci_tx_tail) == SCI_TX_SIZE) return 0;
    sci_tx_buf[sci_tx_head & (SCI_TX_SIZE - 1)] = byte;
    sci_tx_head++;
    TXIE = 1;
    return 1;
}

//发送一个字节;发送缓冲区满时等待(会阻塞,不可在中断中调用);无返回值
void sci_put(unsigned char byte)
{
    while (!sci_write(byte))
        ;
}

//取出一个收到的字节;不等待;没有字节时返回0,先用sci_rx_count()判断
unsigned char sci_read(void)
{
    unsigned char byte;
    if (sci_rx_head == sci_rx_tail) return 0;
    byte = sci_rx_buf[sci_rx_tail & (SCI_RX_SIZE - 1)];
    sci_rx_tail++;
    return byte;
}

//接收缓冲区中的字节数;不等待
unsigned char sci_rx_count(void)
{
    return (unsigned char)(sci_rx_head - sci_rx_tail);
}

//发送缓冲区的空位数;不等待
unsigned char sci_tx_room(void)
{
    return (unsigned char)(SCI_TX_SIZE - (unsigned char)(sci_tx_head - sci_tx_tail));
}

//printf的输出:经发送缓冲区发送;缓冲区满时等待(会阻塞);返回c
int putchar(int c)
{
    sci_put((unsigned char)c);
    return c;
}

//等待I2C操作完成;最多查询65536次;出错时记入i2c_error;返回i2c_error
unsigned char i2c_wait(void)
{
    unsigned int n = 0;
    do {
        if (BCLIF) { BCLIF = 0; return i2c_error = I2C_COLLISION; }
        if (!(SSPCON2 & 0x1F) && !R_W) return i2c_error;
    } while (--n);
    return i2c_error = I2C_TIMEOUT;
}

//清除i2c_error,发出起始条件;有限等待;返回i2c_error
unsigned char i2c_start(void)
{
    i2c_error = 0;
    SEN = 1;
    return i2c_wait();
}

//发出重复起始条件;有限等待;返回i2c_error
unsigned char i2c_restart(void)
{
    RSEN = 1;
    return i2c_wait();
}

//发出停止条件;有限等待;返回i2c_error
unsigned char i2c_stop(void)
{
    PEN = 1;
    return i2c_wait();
}

//发送一个字节(已出错则不发);有限等待;返回i2c_error:0收到应答,I2C_NACK无应答
unsigned char i2c_write(unsigned char byte)
{
    if (i2c_error) return i2c_error;
    SSPBUF = byte;
    if (!i2c_wait() && ACKSTAT) i2c_error = I2C_NACK;
    return i2c_error;
}

//接收一个字节(已出错则不收),ack非0回应答(后面还要读),0不回应答(最后一个);有限等待;返回收到的字节
unsigned char i2c_read(unsigned char ack)
{
    if (i2c_error) return 0xFF;
    RCEN = 1;
    i2c_wait();
    ACKDT = 1;
    if (ack) ACKDT = 0;
    ACKEN = 1;
    i2c_wait();
    return SSPBUF;
}

//向器件addr(写地址)从寄存器reg起写入buf的n个字节,以停止条件结束;有限等待;返回i2c_error
unsigned char i2c_write_bytes(unsigned char addr, unsigned char reg, const unsigned char *buf, unsigned char n)
{
    i2c_start();
    i2c_write(addr);
    i2c_write(reg);
    while (n--) i2c_write(*buf++);
    i2c_stop();
    return i2c_error;
}

//从器件addr(写地址)的寄存器reg起读n个字节到buf,以停止条件结束;有限等待;返回i2c_error
unsigned char i2c_read_bytes(unsigned char addr, unsigned char reg, unsigned char *buf, unsigned char n)
{
    i2c_start();
    i2c_write(addr);
    i2c_write(reg);
    i2c_restart();
    i2c_write(addr | 1);
    while (n) *buf++ = i2c_read(--n);
    i2c_stop();
    return i2c_error;
}

//选择通道(0到7)并启动一次转换;通道改变时先等待采样时间20uS(会阻塞这么久);无返回值
void ad_start(unsigned char channel)
{
    channel = (unsigned char)((channel & 7) << 3);
    if ((ADCON0 & 0x38) != channel) {
        ADCON0 = (unsigned char)((ADCON0 & 0xC7) | channel);
        { volatile unsigned char n = 34; while (--n); }
    }
    ad_ready = 0;
    GO = 1;
}

//转换是否已结束;不等待;结束返回1,否则返回0
unsigned char ad_done(void)
{
    return ad_ready;
}

//最近一次转换的结果(10位,对齐方式见A/D设置);不等待
unsigned int ad_result(void)
{
    return ad_value;
}

//转换一个通道并返回结果;等待采样和转换结束(会阻塞,约20uS加12个TAD)
unsigned int ad_read(unsigned char channel)
{
    ad_start(channel);
    while (!ad_done())
        ;
    return ad_result();
}

//读出数据EEPROM的一个字节;先等正在进行的写入结束(会阻塞,最长约4mS);返回该字节
unsigned char eeprom_read(unsigned char addr)
{
    while (WR)
        ;
    EEADR = addr;
    EEPGD = 0;
    RD = 1;
    return EEDATA;
}

//写一个字节到数据EEPROM;先等上一次写入结束(会阻塞,最长约4mS),中断允许保持原样;无返回值
void eeprom_write(unsigned char addr, unsigned char value)
{
    unsigned char gie;
    while (WR)
        ;
    EEADR = addr;
    EEDATA = value;
    EEPGD = 0;
    WREN = 1;
    gie = GIE;
    GIE = 0;
    EECON2 = 0x55;
    EECON2 = 0xAA;
    WR = 1;
    if (gie) GIE = 1;
    WREN = 0;
}

//上一次写入是否已结束;不等待;结束返回1,否则返回0
unsigned char eeprom_done(void)
{
    return !WR;
}
